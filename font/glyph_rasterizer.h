#pragma once

#include "font/cp936_text.h"
#include "font/face_stack.h"
#include "font/freetype_library.h"
#include "font/glyph_bitmap.h"
#include "font/glyph_cell.h"
#include "font/glyph_parameters.h"
#include "font/text_painter.h"
#include "image/workbench.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace lumivert {

// Turns one character into a dot-matrix glyph: renders it onto the glyph bitmap, samples
// the cell and packs it, storing the bytes at the WriteCursor while GenerateMode is 1. Every
// font generation renders each of its characters through one rasterizer, which keeps the
// faces it opened (see FaceCache) and its scratch memory between renders.
class GlyphRasterizer {
public:
    GlyphRasterizer();

    // Renders `text` (GBK) with the parameters, in this order: clamps the WriteCursor;
    // converts the dot size and sets the cell; converts the font height (and, for half-width
    // characters, the font width) and takes the face at that size; clears the bitmap from
    // (1, 1) on; converts the offsets and draws the text with its top-left corner at
    // (x offset + 1, y offset + 1); draws the frame around the cell; packs the cell, storing
    // when GenerateMode is 1, and moves the WriteCursor past the glyph. A number that does
    // not convert throws "'<text>' is not a valid integer value" there: what came before
    // stays done, nothing is stored and the cursor has not moved.
    //
    // Returns the width of the text in pixels.
    std::int32_t render(Workbench& workbench, const GlyphParameters& parameters,
                        std::string_view text);

    const GlyphBitmap& bitmap() const { return bitmap_; }

    // The cell of the last render; 0 x 0 before the first.
    GlyphCell cell() const { return cell_; }

    // The face each character of the last render was drawn with.
    const std::vector<const FaceFile*>& facesUsed() const { return facesUsed_; }

private:
    void drawFrame();

    FreeTypeLibrary library_;
    FaceCache faces_;
    TextPainter painter_;
    GlyphBitmap bitmap_;
    GlyphCell cell_;
    std::vector<TextCharacter> characters_;
    std::vector<const FaceFile*> facesUsed_;
};

} // namespace lumivert
