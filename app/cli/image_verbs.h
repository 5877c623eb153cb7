#pragma once

#include "app/cli/verb.h"

#include <memory>
#include <vector>

namespace lumivert {

// `image info` and `image export FILE`, under one `image` subcommand.
std::vector<DeclaredVerb> declareImageVerbs(CLI::App& parent);

} // namespace lumivert
