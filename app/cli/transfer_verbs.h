#pragma once

#include "app/cli/verb.h"

#include <vector>

namespace lumivert {

// `pages` (builds the pages region from the page files), `upload REGION...` and `send`.
std::vector<DeclaredVerb> declareTransferVerbs(CLI::App& parent);

} // namespace lumivert
