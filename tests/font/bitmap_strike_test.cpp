#include "common/gbk.h"
#include "font/face_finder.h"
#include "font/face_stack.h"
#include "font/freetype_library.h"
#include "font/glyph_rasterizer.h"
#include "font/strike_choice.h"
#include "font/text_painter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace lumivert {
namespace {

constexpr const char* kBitmapSong = "WenQuanYi Bitmap Song";
const std::string kMiddle = utf8ToGbk("中");

TEST(StrikeChoiceTest, TheLargestThatFitsElseTheSmallest) {
    // In the order fontconfig lists WenQuanYi Bitmap Song's files.
    const std::vector<BitmapStrike> strikes{
        {0, 0, 13}, {1, 0, 12}, {2, 0, 14}, {3, 0, 15}, {4, 0, 16}};
    struct Case {
        std::int32_t height;
        std::size_t chosen;
    };
    const Case cases[] = {
        {16, 4},  {24, 4},   {15, 3}, {14, 2}, {13, 0}, {12, 1}, // the largest not above
        {11, 1},  {1, 1},                                        // none fits: the smallest
        {-15, 3}, {-100, 4},                                     // a character height
        {0, 4},                                                  // 16
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chooseStrike(strikes, c.height), c.chosen) << c.height;
    }
    const std::vector<BitmapStrike> twins{{0, 0, 16}, {0, 1, 16}, {1, 0, 12}};
    EXPECT_EQ(chooseStrike(twins, 20), 0u);
}

// The pixels to the em of the strike a face file holds (the files of WenQuanYi Bitmap Song
// hold one each).
std::int32_t strikeSizeOf(const FaceFile& file) {
    FreeTypeLibrary library;
    FT_Face face = nullptr;
    if (FT_New_Face(library.get(), file.path.c_str(), file.index, &face) != 0) {
        return 0;
    }
    const auto size = static_cast<std::int32_t>((face->available_sizes[0].y_ppem + 32) / 64);
    FT_Done_Face(face);
    return size;
}

// The rows of the cell that hold ink.
int inkRows(const GlyphBitmap& bitmap, GlyphCell cell) {
    int rows = 0;
    for (int y = 1; y <= cell.height; ++y) {
        bool ink = false;
        for (int x = 1; x <= cell.width && !ink; ++x) {
            ink = bitmap.ink(x, y);
        }
        rows += ink ? 1 : 0;
    }
    return rows;
}

TEST(BitmapStrikeTest, AFaceOfBitmapsSpreadOverFilesTakesTheStrikeTheHeightAsksFor) {
    ASSERT_GE(FaceFinder::instance().find(kBitmapSong)->entries().front().otherStrikes.size(), 3u)
        << "the face's other files are not found";
    struct Case {
        int dots;
        std::int32_t strike;
        int inkRows; // of 中 in that strike
    };
    const Case cases[] = {{16, 16, 16}, {24, 16, 16}, {12, 12, 11}, {15, 15, 14}};
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    GlyphRasterizer rasterizer;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dots);
        GlyphParameters parameters;
        parameters.face = kBitmapSong;
        parameters.dotSize = std::to_string(c.dots);
        parameters.fontHeight = std::to_string(c.dots);
        rasterizer.render(*workbench, parameters, kMiddle);
        ASSERT_EQ(rasterizer.facesUsed().size(), 1u);
        EXPECT_EQ(rasterizer.facesUsed()[0]->family, kBitmapSong);
        EXPECT_EQ(strikeSizeOf(*rasterizer.facesUsed()[0]), c.strike);
        EXPECT_EQ(inkRows(rasterizer.bitmap(), rasterizer.cell()), c.inkRows);
    }
}

// A character an outline face lacks, drawn by a bitmap face next to it, comes from the
// bitmap face's strike for the height too.
TEST(BitmapStrikeTest, TheFallbackFaceTakesItsStrikeForTheHeight) {
    const auto latin = FaceFinder::instance().find("DejaVu Sans");
    const auto bitmaps = FaceFinder::instance().find(kBitmapSong);
    ASSERT_EQ(latin->chosen().family, "DejaVu Sans");
    FcCharSet* middle = FcCharSetCreate();
    FcCharSetAddChar(middle, 0x4E2D);
    FaceChoice::Entry fallback = bitmaps->entries().front();
    fallback.characters = middle;
    auto keepAlive = std::shared_ptr<FcCharSet>(middle, FcCharSetDestroy);
    const auto choice = std::make_shared<const FaceChoice>(
        std::vector<FaceChoice::Entry>{latin->entries().front(), fallback}, keepAlive);

    FreeTypeLibrary library;
    FaceStack faces(library.get(), choice, 24, 0);
    TextPainter painter;
    GlyphBitmap bitmap;
    std::vector<TextCharacter> characters;
    decodeCp936(kMiddle, characters);
    std::vector<const FaceFile*> used;
    painter.draw(bitmap, faces, characters, 1, 1, used);
    ASSERT_EQ(used.size(), 1u);
    EXPECT_EQ(used[0]->family, kBitmapSong);
    EXPECT_EQ(strikeSizeOf(*used[0]), 16);
    EXPECT_EQ(inkRows(bitmap, {24, 24}), 16);
}

} // namespace
} // namespace lumivert
