#pragma once

#include "font/glyph_cell.h"
#include "image/flash_image.h"

#include <cstdint>
#include <span>
#include <vector>

namespace lumivert {

// A glyph's dots as the module reads them from its bytes: CellWidth columns, and the rows the
// bytes hold (CellHeight rounded down to a multiple of 8); dot (0, 0) at the top-left.
class DotMatrix {
public:
    DotMatrix() = default;
    DotMatrix(std::int32_t width, std::int32_t height)
        : width_(width), height_(height),
          dots_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), false) {}

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

    bool ink(std::int32_t x, std::int32_t y) const { return dots_[index(x, y)]; }
    void setInk(std::int32_t x, std::int32_t y) { dots_[index(x, y)] = true; }

    // Whether no dot is ink.
    bool blank() const;

    bool operator==(const DotMatrix&) const = default;

private:
    std::size_t index(std::int32_t x, std::int32_t y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::vector<bool> dots_;
};

// The inverse of the glyph packing: bytes column by column from the left, each column in
// bytes of eight dots from the top, the top dot in bit 0. `bytes` holds cell.byteCount()
// bytes.
DotMatrix unpackGlyph(std::span<const std::uint8_t> bytes, GlyphCell cell);

// The glyph of `cell` whose bytes start at `offset` in the image; bytes past the image read
// as 0xFF, as erased flash.
DotMatrix glyphAt(const FlashImage& image, std::int64_t offset, GlyphCell cell);

} // namespace lumivert
