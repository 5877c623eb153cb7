#include "font/glyph_packing.h"
#include "inspect/dot_matrix.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace lumivert {
namespace {

// A bitmap of random dots, the frame's row 0 and column 0 included.
GlyphBitmap randomBitmap(unsigned seed) {
    std::mt19937 random(seed);
    GlyphBitmap bitmap;
    for (int y = 0; y < GlyphBitmap::kSize; ++y) {
        for (int x = 0; x < GlyphBitmap::kSize; ++x) {
            bitmap.setPixel(x, y, random() % 3 == 0);
        }
    }
    return bitmap;
}

// Decoding a glyph's bytes gives back the cell it was packed from, dot for dot, for every dot
// size and both widths; rows past the last whole group of eight hold no bytes.
TEST(DotMatrixTest, UnpackingIsTheInverseOfThePacking) {
    for (const int dots : {12, 16, 20, 24, 25, 32, 48, 64}) {
        for (const bool half : {false, true}) {
            SCOPED_TRACE(std::to_string(dots) + (half ? " half" : " full"));
            const GlyphBitmap bitmap = randomBitmap(static_cast<unsigned>(dots * 2 + half));
            const GlyphCell cell = glyphCell(dots, half);
            const DotMatrix matrix = unpackGlyph(packGlyph(bitmap, cell), cell);
            ASSERT_EQ(matrix.width(), cell.width);
            ASSERT_EQ(matrix.height(), cell.height / 8 * 8);
            for (int y = 0; y < matrix.height(); ++y) {
                for (int x = 0; x < matrix.width(); ++x) {
                    ASSERT_EQ(matrix.ink(x, y), bitmap.ink(x + 1, y + 1)) << x << "," << y;
                }
            }
        }
    }
}

TEST(DotMatrixTest, ReadsGlyphsFromTheImageAsErasedPastItsEnd) {
    auto image = std::make_unique<FlashImage>();
    image->fill();
    image->store(100, std::uint8_t{0x05}); // column 0: dots 0 and 2
    image->store(101, std::uint8_t{0x80}); // column 0, second group: dot 15
    const DotMatrix glyph = glyphAt(*image, 100, {2, 16});
    EXPECT_TRUE(glyph.ink(0, 0) && glyph.ink(0, 2) && glyph.ink(0, 15));
    EXPECT_FALSE(glyph.ink(0, 1) || glyph.ink(0, 14));
    EXPECT_TRUE(glyph.ink(1, 0)) << "erased bytes are all ink";

    image->store(kImageSize - 1, std::uint8_t{0x00});
    const DotMatrix last = glyphAt(*image, kImageSize - 1, {2, 8});
    EXPECT_FALSE(last.ink(0, 3));
    EXPECT_TRUE(last.ink(1, 3)) << "past the image";
    EXPECT_TRUE(unpackGlyph({}, {0, 8}).blank());
    EXPECT_TRUE(DotMatrix(3, 8).blank());
}

} // namespace
} // namespace lumivert
