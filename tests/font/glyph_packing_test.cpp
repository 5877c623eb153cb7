#include "font/glyph_packing.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace lumivert {
namespace {

// The sampling as the module's glyph format states it, pixel by pixel: columns 1 to
// CellWidth, in each the rows 1 to CellHeight in groups of eight, the top one in bit 0.
std::vector<std::uint8_t> referencePacking(const GlyphBitmap& bitmap, GlyphCell cell) {
    std::vector<std::uint8_t> bytes;
    for (int x = 1; x <= cell.width; ++x) {
        unsigned accumulator = 0;
        int count = 0;
        for (int y = 1; y <= cell.height; ++y) {
            accumulator >>= 1;
            if (bitmap.ink(x, y)) {
                accumulator |= 0x80;
            }
            if (++count == 8) {
                bytes.push_back(static_cast<std::uint8_t>(accumulator));
                accumulator = 0;
                count = 0;
            }
        }
    }
    return bytes;
}

GlyphBitmap randomBitmap(unsigned seed) {
    GlyphBitmap bitmap;
    std::mt19937 random(seed);
    for (int y = 0; y < GlyphBitmap::kSize; ++y) {
        for (int x = 0; x < GlyphBitmap::kSize; ++x) {
            bitmap.setPixel(x, y, (random() & 1) != 0);
        }
    }
    return bitmap;
}

TEST(GlyphCell, SizesOfTheDotSizesInUse) {
    struct Case {
        std::int32_t dotSize;
        bool halfWidth;
        GlyphCell cell;
        std::int64_t bytes;
    };
    const Case cases[] = {
        {12, false, {12, 16}, 24},  {12, true, {6, 16}, 12},    {16, false, {16, 16}, 32},
        {16, true, {8, 16}, 16},    {24, false, {24, 24}, 72},  {24, true, {12, 24}, 36},
        {32, false, {32, 32}, 128}, {32, true, {16, 32}, 64},   {48, false, {48, 48}, 288},
        {48, true, {24, 48}, 144},  {64, false, {64, 64}, 512}, {64, true, {32, 64}, 256},
        {20, false, {20, 20}, 40},  {25, true, {12, 25}, 36},   {0, false, {0, 0}, 0},
        {-8, false, {-8, -8}, 0},   {-9, true, {-4, -9}, 0},    {7, false, {7, 7}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.dotSize << (c.halfWidth ? " half" : " full"));
        EXPECT_EQ(glyphCell(c.dotSize, c.halfWidth), c.cell);
        EXPECT_EQ(c.cell.byteCount(), c.bytes);
    }
}

TEST(GlyphPacking, WorkedBytes) {
    GlyphBitmap bitmap;
    bitmap.setPixel(1, 1, true); // column 1: rows 1 and 3
    bitmap.setPixel(1, 3, true);
    bitmap.setPixel(2, 8, true); // column 2: row 8 alone
    bitmap.setPixel(2, 9, true); // column 2, second group: its top row
    bitmap.setPixel(0, 1, true); // the frame's column, never sampled
    bitmap.setPixel(1, 0, true); // the frame's row, never sampled
    const auto bytes = packGlyph(bitmap, {16, 16});
    ASSERT_EQ(bytes.size(), 32u);
    EXPECT_EQ(bytes[0], 0x05);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2], 0x80);
    EXPECT_EQ(bytes[3], 0x01);
}

// Every cell shape, from one inside the bitmap to ones reaching past its edges (pixels
// there are paper), against the pixel-by-pixel sampling.
TEST(GlyphPacking, MatchesThePixelByPixelSampling) {
    const GlyphCell cells[] = {{12, 16},   {6, 16},   {16, 16},  {24, 24}, {12, 24},
                               {12, 25},   {20, 20},  {64, 64},  {98, 98}, {99, 99},
                               {100, 100}, {120, 40}, {40, 120}, {1, 8},   {200, 200}};
    for (unsigned seed : {1u, 2u}) {
        const GlyphBitmap bitmap = randomBitmap(seed);
        for (const GlyphCell& cell : cells) {
            SCOPED_TRACE(::testing::Message() << cell.width << " x " << cell.height);
            EXPECT_EQ(packGlyph(bitmap, cell), referencePacking(bitmap, cell));
        }
    }
}

TEST(GlyphPacking, PixelsPastTheBitmapEdgeArePaper) {
    GlyphBitmap bitmap;
    bitmap.fill(0, 0, GlyphBitmap::kSize, GlyphBitmap::kSize, true);
    const auto bytes = packGlyph(bitmap, {100, 104}); // 13 bytes a column
    ASSERT_EQ(bytes.size(), 1300u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[11], 0xFF);                   // rows 89 to 96
    EXPECT_EQ(bytes[12], 0x07);                   // rows 97 to 99 ink, 100 to 104 outside
    EXPECT_EQ(bytes[std::size_t{98} * 13], 0xFF); // column 99
    for (int i = 99 * 13; i < 1300; ++i) {
        EXPECT_EQ(bytes[static_cast<std::size_t>(i)], 0x00) << "column 100, byte " << i;
    }
}

TEST(WriteCursor, IsClampedIntoTheImage) {
    const std::pair<std::int32_t, std::int32_t> cases[] = {{-5, 0},
                                                           {0, 0},
                                                           {2'097'152, 2'097'152},
                                                           {2'097'153, 2'097'053},
                                                           {INT32_MAX, 2'097'053},
                                                           {INT32_MIN, 0}};
    for (const auto& [cursor, clamped] : cases) {
        EXPECT_EQ(clampWriteCursor(cursor), clamped) << cursor;
    }
}

class StoreGlyphTest : public ::testing::Test {
protected:
    // Ink along row 1: the first byte of every column is 0x01, the others 0x00.
    StoreGlyphTest() { bitmap.fill(0, 1, GlyphBitmap::kSize, 2, true); }
    std::unique_ptr<FlashImage> image = std::make_unique<FlashImage>();
    GlyphBitmap bitmap;
};

TEST_F(StoreGlyphTest, StoresOnlyWhenAskedAndAlwaysAdvances) {
    EXPECT_EQ(storeGlyph(*image, 100, bitmap, {24, 24}, false), 172);
    EXPECT_TRUE(image->isErased(0, kImageSize));

    EXPECT_EQ(storeGlyph(*image, 100, bitmap, {24, 24}, true), 172);
    EXPECT_EQ(image->load(99), 0xFF);
    for (int i = 0; i < 72; ++i) {
        EXPECT_EQ(image->load(100 + i), i % 3 == 0 ? 0x01 : 0x00) << i;
    }
    EXPECT_EQ(image->load(172), 0xFF);
}

TEST_F(StoreGlyphTest, NeverStoresPastTheImageEnd) {
    bitmap = GlyphBitmap();
    // A 64-dot glyph of zero bytes 99 bytes before the end: 99 stored, 413 dropped.
    EXPECT_EQ(storeGlyph(*image, 2'097'053, bitmap, {64, 64}, true), 2'097'565);
    EXPECT_TRUE(image->isErased(0, 2'097'053));
    EXPECT_EQ(image->load(2'097'053), 0x00);
    EXPECT_EQ(image->load(kImageSize - 1), 0x00);
    EXPECT_EQ(image->load(kImageSize), 0xFF); // the spare byte
    EXPECT_EQ(storeGlyph(*image, kImageSize, bitmap, {24, 24}, true), kImageSize + 72);
    EXPECT_EQ(image->load(kImageSize), 0xFF);
}

TEST_F(StoreGlyphTest, AHugeCellStoresWhatFitsAndTheCursorStopsAtItsLargestValue) {
    EXPECT_EQ(storeGlyph(*image, kImageSize - 16, bitmap, {2'000'000'000, 2'000'000'000}, true),
              INT32_MAX);
    EXPECT_TRUE(image->isErased(0, kImageSize - 16));
    EXPECT_EQ(image->load(kImageSize - 16), 0x01); // column 1, rows 1 to 8
    for (int i = 15; i > 0; --i) {
        EXPECT_EQ(image->load(kImageSize - i), 0x00) << i;
    }
    EXPECT_EQ(image->load(kImageSize), 0xFF);
}

} // namespace
} // namespace lumivert
