#pragma once

#include "font/face_stack.h"
#include "font/freetype_library.h"
#include "font/glyph_parameters.h"

#include <string_view>

namespace lumivert {

// Whether the faces of a font request draw any dot for a character: the face the glyph
// rasterizer takes for it has a glyph of its own for the character (not the missing-glyph
// shape), and that glyph has an outline or a bitmap with ink. A space has a glyph, but
// draws nothing. Keeps the faces it opened.
class FaceCoverage {
public:
    FaceCoverage() : faces_(library_.get()) {}

    // `character` is one GBK character. False when the parameters' height or width is not a
    // number or the face cannot be opened.
    bool drawsInk(const GlyphParameters& parameters, std::string_view character);

private:
    FreeTypeLibrary library_;
    FaceCache faces_;
};

} // namespace lumivert
