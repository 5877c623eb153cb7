#pragma once

#include "app/cli/verb.h"

#include <vector>

namespace lumivert {

// `pictures` (every picture into the flash image), `picture TEXT` (one picture as a preview)
// and `colour RRGGBB` (the colour calculator).
std::vector<DeclaredVerb> declarePictureVerbs(CLI::App& parent);

} // namespace lumivert
