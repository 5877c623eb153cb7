#pragma once

#include "app/cli/verb.h"

namespace lumivert {

// `glyph TEXT [render options]`: renders one glyph as the font tab's test button does and
// prints its dots, its bytes, its width and the face of each character.
DeclaredVerb declareGlyphVerb(CLI::App& parent);

} // namespace lumivert
