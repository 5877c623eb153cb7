#pragma once

#include <cstdint>

namespace lumivert {

// The cell a glyph is sampled from: CellWidth x CellHeight pixels of the glyph bitmap,
// starting at pixel (1, 1). A glyph is stored column by column, left to right; each column
// as bytes of eight pixels, top to bottom, the top pixel in bit 0 and ink = 1. The rows of
// a last group of fewer than eight are dropped.
struct GlyphCell {
    std::int32_t width = 0;
    std::int32_t height = 0;

    // CellWidth x (CellHeight div 8) bytes; none for a cell without pixels.
    std::int64_t byteCount() const {
        if (width <= 0 || height < 8) {
            return 0;
        }
        return std::int64_t{width} * (height / 8);
    }

    bool operator==(const GlyphCell&) const = default;
};

// The cell of a dot size: as high as the dot size (16 for the 12-dot fonts, whose glyphs
// are 16 pixels high), as wide for full-width characters and half as wide (rounded toward
// zero) for half-width ones.
inline GlyphCell glyphCell(std::int32_t dotSize, bool halfWidth) {
    return {halfWidth ? dotSize / 2 : dotSize, dotSize == 12 ? 16 : dotSize};
}

} // namespace lumivert
