#pragma once

#include <array>
#include <cstdint>

namespace lumivert {

// The scratch bitmap every glyph is rendered into: 100 x 100 monochrome pixels, ink on
// paper, pixel (0, 0) at the top-left. It keeps its pixels between renders: a render
// clears only the pixels from (1, 1) on, so row 0 and column 0 keep what earlier renders
// left there apart from the cell frame.
//
// The pixels are stored as FreeType lays out a monochrome bitmap (rows top to bottom, each
// row `kPitch` bytes, the leftmost pixel in bit 7, ink = 1), so that rendered glyphs are
// copied into it eight pixels at a time.
class GlyphBitmap {
public:
    static constexpr int kSize = 100;
    static constexpr int kPitch = (kSize + 7) / 8;

    // A new bitmap is all paper.
    GlyphBitmap() = default;

    // Whether pixel (x, y) is ink. Pixels outside the bitmap read as paper.
    bool ink(int x, int y) const {
        if (x < 0 || y < 0 || x >= kSize || y >= kSize) {
            return false;
        }
        return (rows_[static_cast<std::size_t>(y) * kPitch + static_cast<std::size_t>(x / 8)] &
                (0x80u >> (x % 8))) != 0;
    }

    void setPixel(int x, int y, bool ink);

    // Sets every pixel of [left, right) x [top, bottom) that lies inside the bitmap.
    void fill(int left, int top, int right, int bottom, bool ink);

    // Makes every pixel from (1, 1) on paper, as each render does first; row 0 and
    // column 0 keep theirs.
    void clearInside();

    // A horizontal or vertical line from (x0, y0) to (x1, y1), the end point excluded, as a
    // pen draws it; the part outside the bitmap is lost.
    void drawLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);

    // The rows in FreeType's layout, for copying glyphs into and sampling from.
    std::uint8_t* rows() { return rows_.data(); }
    const std::uint8_t* rows() const { return rows_.data(); }

private:
    std::array<std::uint8_t, static_cast<std::size_t>(kPitch* kSize)> rows_{};
};

} // namespace lumivert
