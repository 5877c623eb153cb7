#include "picture/rgb565_tile.h"

#include <bit>
#include <cstring>

namespace lumivert {
namespace {

static_assert(std::endian::native == std::endian::little, "lanes are read as little-endian");

// Vectors of the compiler's own: SSE2 on x86-64, NEON on ARM.
using U32x4 = std::uint32_t __attribute__((vector_size(16)));
using U16x8 = std::uint16_t __attribute__((vector_size(16)));

// Four pixels of red, green, blue and a spare byte, each made into its two module bytes, the
// high byte first in memory: in a little-endian 16-bit lane, high | low << 8.
U32x4 moduleBytes(U32x4 pixels) {
    const U32x4 high = (pixels & 0xF8) | ((pixels >> 13) & 0x07);
    const U32x4 low = ((pixels >> 5) & 0xE0) | ((pixels >> 19) & 0x1F);
    return high | (low << 8);
}

// The lanes of a converted row hold the tile's columns in this order: the pixels of the left
// half in the even lanes, those of the right half in the odd ones.
constexpr int kColumnOfLane[kTileSide] = {0, 4, 1, 5, 2, 6, 3, 7};

// One row of 8 pixels. Each 32-bit lane holds a pixel's two bytes in its low half, so the
// right half's pixels shifted into the high halves join the left half's without a shuffle.
U16x8 convertRow(const std::uint8_t* rgbx) {
    U32x4 left;
    U32x4 right;
    std::memcpy(&left, rgbx, sizeof left);
    std::memcpy(&right, rgbx + sizeof left, sizeof right);
    return reinterpret_cast<U16x8>(moduleBytes(left) | (moduleBytes(right) << 16));
}

// Rows into columns: three rounds of interleaving, 2, then 4, then 8 lanes at a time.
void transpose(U16x8 (&rows)[kTileSide]) {
    U16x8 pairs[kTileSide];
    for (int i = 0; i < kTileSide; i += 2) {
        pairs[i] = __builtin_shufflevector(rows[i], rows[i + 1], 0, 8, 1, 9, 2, 10, 3, 11);
        pairs[i + 1] = __builtin_shufflevector(rows[i], rows[i + 1], 4, 12, 5, 13, 6, 14, 7, 15);
    }
    U16x8 quads[kTileSide];
    for (int i = 0; i < kTileSide; i += 4) {
        for (int half = 0; half < 2; ++half) {
            const U16x8 upper = pairs[i + half];
            const U16x8 lower = pairs[i + half + 2];
            quads[i + 2 * half] = __builtin_shufflevector(upper, lower, 0, 1, 8, 9, 2, 3, 10, 11);
            quads[i + 2 * half + 1] =
                __builtin_shufflevector(upper, lower, 4, 5, 12, 13, 6, 7, 14, 15);
        }
    }
    for (std::size_t i = 0; i < kTileSide / 2; ++i) {
        rows[2 * i] = __builtin_shufflevector(quads[i], quads[i + 4], 0, 1, 2, 3, 8, 9, 10, 11);
        rows[2 * i + 1] =
            __builtin_shufflevector(quads[i], quads[i + 4], 4, 5, 6, 7, 12, 13, 14, 15);
    }
}

} // namespace

void convertTile(const DecodedPicture& picture, int x, int y,
                 std::uint8_t* const columns[kTileSide]) {
    U16x8 rows[kTileSide];
    for (int row = 0; row < kTileSide; ++row) {
        rows[row] = convertRow(picture.pixel(x, y + row));
    }
    transpose(rows);
    for (int lane = 0; lane < kTileSide; ++lane) {
        std::memcpy(columns[kColumnOfLane[lane]], &rows[lane], sizeof rows[lane]);
    }
}

} // namespace lumivert
