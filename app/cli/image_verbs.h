#pragma once

#include "app/cli/verb.h"

#include <memory>
#include <vector>

namespace lumivert {

// `image info`, `image export FILE` and the inspector's verbs, under one `image` subcommand.
std::vector<DeclaredVerb> declareImageVerbs(CLI::App& parent);

} // namespace lumivert
