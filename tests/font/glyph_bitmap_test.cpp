#include "font/glyph_bitmap.h"

#include <gtest/gtest.h>
#include <string>

namespace lumivert {
namespace {

// The pixels of rows 0 to 3 and columns 0 to 9 as text, '#' for ink.
std::string corner(const GlyphBitmap& bitmap, int width = 10, int height = 4) {
    std::string text;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            text += bitmap.ink(x, y) ? '#' : '.';
        }
        text += '\n';
    }
    return text;
}

TEST(GlyphBitmap, PixelsOutsideArePaperAndIgnored) {
    GlyphBitmap bitmap;
    for (const auto& [x, y] : {std::pair{-1, 0}, {0, -1}, {100, 5}, {5, 100}}) {
        bitmap.setPixel(x, y, true);
        EXPECT_FALSE(bitmap.ink(x, y));
    }
    bitmap.setPixel(99, 99, true);
    EXPECT_TRUE(bitmap.ink(99, 99));
}

TEST(GlyphBitmap, FillsRectanglesClippedToTheBitmap) {
    GlyphBitmap bitmap;
    bitmap.fill(-5, -5, 3, 2, true);
    bitmap.fill(7, 1, 200, 3, true);
    EXPECT_EQ(corner(bitmap), "###.......\n"
                              "###....###\n"
                              ".......###\n"
                              "..........\n");
    EXPECT_TRUE(bitmap.ink(99, 2));
    bitmap.fill(1, 1, 9, 2, false);
    EXPECT_EQ(corner(bitmap), "###.......\n"
                              "#........#\n"
                              ".......###\n"
                              "..........\n");
}

TEST(GlyphBitmap, ClearingTheInsideKeepsRowAndColumnZero) {
    GlyphBitmap bitmap;
    bitmap.fill(0, 0, 100, 100, true);
    bitmap.clearInside();
    EXPECT_EQ(corner(bitmap), "##########\n"
                              "#.........\n"
                              "#.........\n"
                              "#.........\n");
    EXPECT_TRUE(bitmap.ink(99, 0));
    EXPECT_TRUE(bitmap.ink(0, 99));
    EXPECT_FALSE(bitmap.ink(99, 99));
}

// Lines leave out their end point, as a pen's line does; however long, only the part
// inside the bitmap is drawn.
TEST(GlyphBitmap, LinesLeaveOutTheirEndPoint) {
    GlyphBitmap bitmap;
    bitmap.drawLine(0, 0, 0, 3);
    bitmap.drawLine(0, 3, 4, 3);
    bitmap.drawLine(9, 3, 9, 1);
    bitmap.drawLine(8, 0, 5, 0);
    bitmap.drawLine(2, 1, 2, 1); // no pixels at all
    EXPECT_EQ(corner(bitmap), "#.....###.\n"
                              "#.........\n"
                              "#........#\n"
                              "####.....#\n");

    GlyphBitmap far;
    far.drawLine(-3'000'000'000LL, 50, 3'000'000'000LL, 50);
    far.drawLine(50, 3'000'000'000LL, 50, -3'000'000'000LL);
    far.drawLine(200, 0, 200, 99);
    for (int i = 0; i < GlyphBitmap::kSize; ++i) {
        EXPECT_TRUE(far.ink(i, 50));
        EXPECT_TRUE(far.ink(50, i));
    }
    EXPECT_FALSE(far.ink(0, 0));
}

} // namespace
} // namespace lumivert
