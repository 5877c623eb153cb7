#pragma once

#include "app/cli/verb.h"

#include <vector>

namespace lumivert {

// `fonts gb12`, `fonts gb16` [render options without --dots], `fonts ascii` and
// `fonts extracted`: the font generations of the font tab, into the stored flash image.
std::vector<DeclaredVerb> declareFontVerbs(CLI::App& parent);

} // namespace lumivert
