#pragma once

#include "app/cli/verb.h"

#include <vector>

namespace lumivert {

// `image show`, `image check` and `image render`, declared under the `image` subcommand: the
// flash image as the module will read it.
std::vector<DeclaredVerb> declareInspectVerbs(CLI::App& image);

} // namespace lumivert
