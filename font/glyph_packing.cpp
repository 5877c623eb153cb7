#include "font/glyph_packing.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace lumivert {
namespace {

constexpr std::int32_t kClampedCursor = kImageSize - 99;
constexpr std::int64_t kEdge = GlyphBitmap::kSize;

// Glyphs up to this size are packed whole in one go; every glyph whose cell lies inside
// the bitmap is.
constexpr std::size_t kWholeGlyphBytes = 2048;

// Transposes an 8 x 8 bit matrix held as bytes 0 to 7 of `x`, bit 0 of a byte its first
// element: afterwards byte c, bit r holds what byte r, bit c held.
std::uint64_t transpose8x8(std::uint64_t x) {
    std::uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAull;
    x = x ^ t ^ (t << 7);
    t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCull;
    x = x ^ t ^ (t << 14);
    t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ull;
    return x ^ t ^ (t << 28);
}

// The whole glyph into `out` (byteCount() bytes), eight columns of a group of eight rows
// at a time: the eight bitmap bytes of those rows, transposed, are the eight glyph bytes
// of those columns. Cell pixels outside the bitmap stay 0.
void packWhole(const GlyphBitmap& bitmap, GlyphCell cell, std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), 0);
    const std::int64_t groups = cell.height / 8;
    const std::int64_t lastColumn = std::min<std::int64_t>(cell.width, kEdge - 1);
    const std::uint8_t* rows = bitmap.rows();
    for (std::int64_t group = 0; group < groups && group * 8 + 1 < kEdge; ++group) {
        const std::int64_t firstRow = group * 8 + 1;
        for (std::int64_t byte = 0; byte * 8 <= lastColumn; ++byte) {
            std::uint64_t block = 0;
            for (std::int64_t k = 0; k < 8 && firstRow + k < kEdge; ++k) {
                block |= std::uint64_t{rows[(firstRow + k) * GlyphBitmap::kPitch + byte]}
                         << (8 * k);
            }
            if (block == 0) {
                continue;
            }
            // Bit c of a bitmap byte is the pixel 7 - c of its eight.
            block = transpose8x8(block);
            for (std::int64_t j = 0; j < 8; ++j) {
                const std::int64_t column = byte * 8 + j;
                if (column >= 1 && column <= lastColumn) {
                    out[static_cast<std::size_t>((column - 1) * groups + group)] =
                        static_cast<std::uint8_t>(block >> (8 * (7 - j)));
                }
            }
        }
    }
}

// The glyph bytes from byte `first` on, one at a time, for glyphs too large to pack whole.
void packRange(const GlyphBitmap& bitmap, GlyphCell cell, std::int64_t first,
               std::span<std::uint8_t> out) {
    const std::uint8_t* rows = bitmap.rows();
    const std::int64_t groups = cell.height / 8;
    std::int64_t column = first / groups + 1;
    std::int64_t group = first % groups;
    for (auto& byte : out) {
        byte = 0;
        const std::int64_t firstRow = group * 8 + 1;
        if (column < kEdge && firstRow < kEdge) {
            const auto shift = static_cast<unsigned>(7 - column % 8);
            const std::int64_t bits = std::min<std::int64_t>(8, kEdge - firstRow);
            for (std::int64_t bit = 0; bit < bits; ++bit) {
                const std::uint8_t pixels =
                    rows[(firstRow + bit) * GlyphBitmap::kPitch + column / 8];
                byte = static_cast<std::uint8_t>(byte | ((pixels >> shift) & 1u) << bit);
            }
        }
        if (++group == groups) {
            group = 0;
            ++column;
        }
    }
}

} // namespace

std::vector<std::uint8_t> packGlyph(const GlyphBitmap& bitmap, GlyphCell cell) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(cell.byteCount()));
    if (bytes.size() <= kWholeGlyphBytes) {
        packWhole(bitmap, cell, bytes);
    } else {
        packRange(bitmap, cell, 0, bytes);
    }
    return bytes;
}

std::int32_t clampWriteCursor(std::int32_t cursor) {
    if (cursor < 0) {
        return 0;
    }
    return cursor > kImageSize ? kClampedCursor : cursor;
}

std::int32_t storeGlyph(FlashImage& image, std::int32_t cursor, const GlyphBitmap& bitmap,
                        GlyphCell cell, bool store) {
    const std::int64_t total = cell.byteCount();
    if (store && cursor >= 0 && cursor < kImageSize && total > 0) {
        std::array<std::uint8_t, kWholeGlyphBytes>
            buffer; // NOLINT(cppcoreguidelines-pro-type-member-init)
        if (static_cast<std::size_t>(total) <= buffer.size()) {
            const std::span glyph(buffer.data(), static_cast<std::size_t>(total));
            packWhole(bitmap, cell, glyph);
            image.store(cursor, glyph);
        } else {
            // Only the bytes that land inside the image are packed, however large the cell.
            const std::int64_t inside = std::min<std::int64_t>(total, kImageSize - cursor);
            for (std::int64_t done = 0; done < inside;) {
                const auto length = static_cast<std::size_t>(std::min<std::int64_t>(
                    static_cast<std::int64_t>(buffer.size()), inside - done));
                const std::span part(buffer.data(), length);
                packRange(bitmap, cell, done, part);
                image.store(cursor + done, part);
                done += static_cast<std::int64_t>(length);
            }
        }
    }
    return static_cast<std::int32_t>(std::min<std::int64_t>(
        std::int64_t{cursor} + total, std::numeric_limits<std::int32_t>::max()));
}

} // namespace lumivert
