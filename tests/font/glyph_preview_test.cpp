#include "common/workbench_error.h"
#include "font/glyph_preview.h"

#include <gtest/gtest.h>
#include <vector>

namespace lumivert {
namespace {

// A surface of the preview's 481 x 481 pixels, starting out white.
struct Surface {
    explicit Surface(int width = 481, int height = 481)
        : pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kPaperColour),
          width(width), height(height) {}
    RgbSurface view() { return {pixels.data(), width, height, width}; }
    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    std::vector<std::uint32_t> pixels;
    int width;
    int height;
};

// The bitmap a 24-dot render leaves: the frame around the cell and one ink dot at (3, 5).
GlyphBitmap framedBitmap(GlyphCell cell) {
    GlyphBitmap bitmap;
    bitmap.drawLine(0, 0, 0, cell.height + 1);
    bitmap.drawLine(0, cell.height + 1, cell.width + 1, cell.height + 1);
    bitmap.drawLine(cell.width + 1, cell.height + 1, cell.width + 1, 0);
    bitmap.drawLine(cell.width + 1, 0, 0, 0);
    bitmap.setPixel(3, 5, true);
    return bitmap;
}

TEST(GlyphPreview, PitchFollowsTheCellHeight) {
    const std::pair<std::int32_t, std::int64_t> cases[] = {{16, 27}, {24, 18}, {32, 13},  {48, 8},
                                                           {64, 6},  {0, 480}, {-2, -482}};
    for (const auto& [height, pitch] : cases) {
        EXPECT_EQ(previewPitch(481, {height, height}), pitch) << height;
        EXPECT_EQ(previewPitch(481, {height / 2, height}), pitch) << height;
    }
}

TEST(GlyphPreview, ShowsTheCellAndItsFrameDotByDot) {
    struct Case {
        GlyphCell cell;
        int squaresAcross; // the last one is the frame
    };
    for (const Case& c : {Case{{24, 24}, 26}, Case{{12, 24}, 14}}) {
        SCOPED_TRACE(c.cell.width);
        Surface surface;
        drawGlyphPreview(framedBitmap(c.cell), c.cell, surface.view());
        const auto centre = [&](int x, int y) { return surface.at(x * 18 + 9, y * 18 + 9); };
        EXPECT_EQ(centre(1, 1), kPreviewPaperColour);
        EXPECT_EQ(centre(3, 5), kInkColour);
        EXPECT_EQ(centre(0, 10), kInkColour); // the frame
        EXPECT_EQ(centre(c.squaresAcross - 1, 10), kInkColour);
        EXPECT_EQ(centre(c.squaresAcross - 2, 10), kPreviewPaperColour);
        EXPECT_EQ(centre(c.squaresAcross, 10), kInkColour) << "a square past the frame";
        EXPECT_EQ(centre(4, 26), kInkColour) << "a row past the frame";
        // Squares of 16 pixels from x * 18 + 1, two black pixels between them.
        EXPECT_EQ(surface.at(18 + 1, 18 + 1), kPreviewPaperColour);
        EXPECT_EQ(surface.at(18 + 16, 18 + 16), kPreviewPaperColour);
        EXPECT_EQ(surface.at(18 + 17, 18 + 10), kInkColour);
        EXPECT_EQ(surface.at(18, 18 + 10), kInkColour);
    }
}

TEST(GlyphPreview, CutsSquaresAtTheEdgeAndReadsPaperPastTheBitmap) {
    Surface surface;
    drawGlyphPreview(GlyphBitmap(), {16, 16}, surface.view()); // pitch 27: 18 squares, 486 px
    EXPECT_EQ(surface.at(17 * 27 + 1, 17 * 27 + 1), kPreviewPaperColour);
    EXPECT_EQ(surface.at(480, 480), kPreviewPaperColour);

    Surface large;
    drawGlyphPreview(GlyphBitmap(), {150, 150}, large.view()); // pitch 2: empty squares
    EXPECT_EQ(large.at(1, 1), kInkColour);
    drawGlyphPreview(GlyphBitmap(), {120, 120}, large.view()); // pitch 2 as well
    GlyphBitmap inked;
    inked.fill(0, 0, GlyphBitmap::kSize, GlyphBitmap::kSize, true);
    Surface hundred;
    drawGlyphPreview(inked, {110, 110}, hundred.view()); // pitch 3: squares of one pixel
    EXPECT_EQ(hundred.at(99 * 3 + 1, 1), kInkColour);
    EXPECT_EQ(hundred.at(99 * 3 + 2, 1), kInkColour) << "between two squares";
    EXPECT_EQ(hundred.at(100 * 3 + 1, 1), kPreviewPaperColour) << "past the bitmap";
    EXPECT_EQ(hundred.at(1, 105 * 3 + 1), kPreviewPaperColour) << "past the bitmap";
}

TEST(GlyphPreview, ACellHeightOfMinusOneIsADivisionByZero) {
    Surface surface;
    try {
        drawGlyphPreview(GlyphBitmap(), {-1, -1}, surface.view());
        ADD_FAILURE() << "no error";
    } catch (const WorkbenchError& error) {
        EXPECT_STREQ(error.what(), "Division by zero");
    }
    Surface negative;
    drawGlyphPreview(GlyphBitmap(), {-5, -5}, negative.view());
    EXPECT_EQ(negative.at(240, 240), kInkColour);
}

TEST(GlyphPreview, TheSmallPictureShowsTheBitmapAtNaturalSize) {
    GlyphBitmap bitmap;
    bitmap.setPixel(85, 61, true);
    bitmap.setPixel(86, 10, true); // outside the 86 x 62 picture
    Surface picture(86, 62);
    showGlyphBitmap(bitmap, picture.view());
    EXPECT_EQ(picture.at(85, 61), kInkColour);
    EXPECT_EQ(picture.at(84, 61), kPaperColour);
    EXPECT_EQ(picture.at(0, 0), kPaperColour);
}

} // namespace
} // namespace lumivert
