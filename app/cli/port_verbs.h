#pragma once

#include "app/cli/verb.h"

#include <vector>

namespace lumivert {

// `ports`: the serial ports the window's port box offers, one a line.
std::vector<DeclaredVerb> declarePortVerbs(CLI::App& parent);

} // namespace lumivert
