#pragma once

#include "font/glyph_bitmap.h"
#include "font/glyph_cell.h"
#include "image/flash_image.h"

#include <cstdint>
#include <span>
#include <vector>

namespace lumivert {

// The glyph bytes of `cell` as the bitmap holds it. Pixels outside the bitmap are paper,
// so a cell that reaches past its edge gives zero bytes there.
std::vector<std::uint8_t> packGlyph(const GlyphBitmap& bitmap, GlyphCell cell);

// The WriteCursor as a render takes it: below 0 it is 0; past 0x200000 it is 0x1FFF9D,
// 99 bytes short of the image end; 0x200000 itself stays.
std::int32_t clampWriteCursor(std::int32_t cursor);

// Writes the glyph of `cell` into the image from `cursor` on when `store` is set (bytes
// at or past the image end are dropped) and returns the cursor moved past the glyph in
// every case. The cursor stops at the largest value it can hold rather than wrap into
// the image again. Takes time for the bytes inside the image only, however large the cell.
std::int32_t storeGlyph(FlashImage& image, std::int32_t cursor, const GlyphBitmap& bitmap,
                        GlyphCell cell, bool store);

} // namespace lumivert
