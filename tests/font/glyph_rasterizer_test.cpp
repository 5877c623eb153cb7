#include "common/gbk.h"
#include "common/workbench_error.h"
#include "font/face_finder.h"
#include "font/glyph_packing.h"
#include "font/glyph_rasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <gtest/gtest.h>
#include <memory>

namespace lumivert {
namespace {

const std::string kSong = utf8ToGbk("宋体");
const std::string kThin = utf8ToGbk("薄");
const std::string kMiddle = utf8ToGbk("中");

GlyphParameters parametersFor(int dots, bool halfWidth = false) {
    GlyphParameters parameters;
    parameters.dotSize = std::to_string(dots);
    parameters.fontHeight = std::to_string(dots);
    parameters.fontWidth = std::to_string(halfWidth ? dots / 2 : dots);
    parameters.halfWidth = halfWidth;
    return parameters;
}

int inkInside(const GlyphBitmap& bitmap, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            count += bitmap.ink(x, y) ? 1 : 0;
        }
    }
    return count;
}

class GlyphRasterizerTest : public ::testing::Test {
protected:
    GlyphRasterizerTest() { workbench->reset(); }

    std::int32_t render(const GlyphParameters& parameters, const std::string& text) {
        return rasterizer.render(*workbench, parameters, text);
    }

    std::unique_ptr<Workbench> workbench = std::make_unique<Workbench>();
    GlyphRasterizer rasterizer;
};

TEST_F(GlyphRasterizerTest, DrawsTheCharacterInsideItsCellInsideTheFrame) {
    EXPECT_EQ(render(parametersFor(24), kThin), 24);
    const GlyphBitmap& bitmap = rasterizer.bitmap();
    EXPECT_EQ(rasterizer.cell(), (GlyphCell{24, 24}));
    EXPECT_GT(inkInside(bitmap, 1, 1, 25, 25), 100);
    for (int i = 0; i <= 25; ++i) { // the frame
        EXPECT_TRUE(bitmap.ink(i, 0) && bitmap.ink(i, 25) && bitmap.ink(0, i) && bitmap.ink(25, i))
            << i;
    }
    EXPECT_EQ(inkInside(bitmap, 26, 0, 100, 100) + inkInside(bitmap, 0, 26, 26, 100), 0);
    ASSERT_EQ(rasterizer.facesUsed().size(), 1u);
    EXPECT_EQ(rasterizer.facesUsed()[0]->family, "AR PL UMing CN");
    EXPECT_EQ(workbench->writeCursor, 72);
    EXPECT_TRUE(workbench->image.isErased(0, kImageSize)) << "GenerateMode 0 stored";
}

TEST_F(GlyphRasterizerTest, StoresTheGlyphOnlyInGenerateMode) {
    workbench->generateMode = 1;
    workbench->writeCursor = 1000;
    render(parametersFor(24), kThin);
    const auto glyph = packGlyph(rasterizer.bitmap(), rasterizer.cell());
    EXPECT_EQ(workbench->writeCursor, 1072);
    for (std::size_t i = 0; i < glyph.size(); ++i) {
        EXPECT_EQ(workbench->image.load(1000 + static_cast<std::int64_t>(i)), glyph[i]) << i;
    }
    EXPECT_EQ(workbench->image.load(999), 0xFF);
    EXPECT_EQ(workbench->image.load(1072), 0xFF);
}

TEST_F(GlyphRasterizerTest, ClampsTheCursorBeforeRendering) {
    struct Case {
        std::int32_t cursor;
        std::int32_t after;
    };
    const Case cases[] = {{-5, 72}, {2'097'153, 2'097'125}, {2'097'152, 2'097'224}};
    workbench->generateMode = 1;
    for (const auto& c : cases) {
        workbench->writeCursor = c.cursor;
        render(parametersFor(24), kThin);
        EXPECT_EQ(workbench->writeCursor, c.after) << c.cursor;
    }
    EXPECT_FALSE(workbench->image.isErased(0, 72));
    EXPECT_FALSE(workbench->image.isErased(2'097'053, 72));
    EXPECT_EQ(workbench->image.load(kImageSize), 0xFF);
}

TEST_F(GlyphRasterizerTest, EmptyTextAndEmptyCells) {
    workbench->generateMode = 1;
    workbench->writeCursor = 64;
    EXPECT_EQ(render(parametersFor(24), ""), 0);
    EXPECT_EQ(workbench->writeCursor, 136);
    for (std::int64_t i = 64; i < 136; ++i) {
        EXPECT_EQ(workbench->image.load(i), 0x00) << i;
    }
    for (const char* dots : {"0", "-1", "-24"}) {
        GlyphParameters parameters = parametersFor(24);
        parameters.dotSize = dots;
        workbench->writeCursor = 500;
        render(parameters, kThin);
        EXPECT_EQ(workbench->writeCursor, 500) << dots;
        EXPECT_TRUE(workbench->image.isErased(200, 2000)) << dots;
    }
}

// A height of -16 asks for 16 pixels to the em, a size the face holds as an embedded
// bitmap: the glyph is that bitmap, with its left edge at 1 + its bearing and its top at
// the baseline (1 + the rounded ascent) less its height above the baseline.
TEST_F(GlyphRasterizerTest, UsesTheEmbeddedBitmapOfThatSize) {
    GlyphParameters parameters = parametersFor(16);
    parameters.fontHeight = "-16";
    render(parameters, kMiddle);

    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    const FaceFile& file = FaceFinder::instance().find("宋体")->chosen();
    FT_Face face = nullptr;
    ASSERT_EQ(FT_New_Face(library, file.path.c_str(), file.index, &face), 0);
    ASSERT_EQ(FT_Set_Pixel_Sizes(face, 0, 16), 0);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const int ascent = (os2->usWinAscent * 16 + face->units_per_EM / 2) / face->units_per_EM;
    const FT_UInt index = FT_Get_Char_Index(face, 0x4E2D);

    GlyphBitmap outline; // the same glyph from its outline, which must differ
    ASSERT_EQ(FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP | FT_LOAD_RENDER),
              0);
    const FT_GlyphSlot slot = face->glyph;
    for (unsigned row = 0; row < slot->bitmap.rows; ++row) {
        for (unsigned column = 0; column < slot->bitmap.width; ++column) {
            outline.setPixel(
                1 + slot->bitmap_left + static_cast<int>(column),
                1 + ascent - slot->bitmap_top + static_cast<int>(row),
                (slot->bitmap.buffer[row * static_cast<unsigned>(slot->bitmap.pitch) + column / 8] &
                 (0x80 >> (column % 8))) != 0);
        }
    }
    ASSERT_EQ(FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO | FT_LOAD_RENDER), 0);
    ASSERT_EQ(slot->format, FT_GLYPH_FORMAT_BITMAP);
    GlyphBitmap strike;
    for (unsigned row = 0; row < slot->bitmap.rows; ++row) {
        for (unsigned column = 0; column < slot->bitmap.width; ++column) {
            strike.setPixel(
                1 + slot->bitmap_left + static_cast<int>(column),
                1 + ascent - slot->bitmap_top + static_cast<int>(row),
                (slot->bitmap.buffer[row * static_cast<unsigned>(slot->bitmap.pitch) + column / 8] &
                 (0x80 >> (column % 8))) != 0);
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    const GlyphCell cell{16, 16};
    EXPECT_EQ(packGlyph(rasterizer.bitmap(), cell), packGlyph(strike, cell));
    EXPECT_NE(packGlyph(outline, cell), packGlyph(strike, cell));
}

TEST_F(GlyphRasterizerTest, OffsetsMoveEveryDot) {
    render(parametersFor(24), kThin);
    const GlyphBitmap before = rasterizer.bitmap();
    GlyphParameters moved = parametersFor(24);
    moved.xOffset = "4";
    moved.yOffset = "-2";
    render(moved, kThin);
    const GlyphBitmap& after = rasterizer.bitmap();
    int ink = 0;
    for (int y = 3; y < 25; ++y) {
        for (int x = 1; x < 21; ++x) {
            EXPECT_EQ(after.ink(x + 4, y - 2), before.ink(x, y)) << x << "," << y;
            ink += before.ink(x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 100);
}

TEST_F(GlyphRasterizerTest, ACharacterTheFaceLacksComesFromAFaceThatHasIt) {
    const std::string missingFromSong = "\x84\x5A"; // 刏, a GBK character
    EXPECT_GT(render(parametersFor(24), missingFromSong), 0);
    ASSERT_EQ(rasterizer.facesUsed().size(), 1u);
    EXPECT_NE(rasterizer.facesUsed()[0]->family, "AR PL UMing CN");
    EXPECT_GT(inkInside(rasterizer.bitmap(), 1, 1, 25, 25), 30);
}

// A code that code page 936 leaves unassigned is the chosen face's alone, and blank.
TEST_F(GlyphRasterizerTest, AnUnassignedCodeStaysBlankInTheChosenFace) {
    workbench->generateMode = 1;
    render(parametersFor(16), "\xD7\xFA");
    EXPECT_EQ(inkInside(rasterizer.bitmap(), 1, 1, 17, 17), 0);
    ASSERT_EQ(rasterizer.facesUsed().size(), 1u);
    EXPECT_EQ(rasterizer.facesUsed()[0]->family, "AR PL UMing CN");
    for (std::int64_t i = 0; i < 32; ++i) {
        EXPECT_EQ(workbench->image.load(i), 0x00);
    }
}

TEST_F(GlyphRasterizerTest, FaceNamesAndTheirAliases) {
    struct Case {
        const char* face; // UTF-8
        const char* family;
    };
    const Case cases[] = {
        {"宋体", "AR PL UMing CN"},
        {"SimSun", "AR PL UMing CN"},
        {"新宋体", "AR PL UMing CN"},
        {"NSimSun", "AR PL UMing CN"},
        {"WenQuanYi Micro Hei", "WenQuanYi Micro Hei"},
        {"No Such Face At All", "AR PL UMing CN"}, // the default Chinese face stands in
        {"Tahoma", "AR PL UMing CN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.face);
        GlyphParameters parameters = parametersFor(24);
        parameters.face = utf8ToGbk(c.face);
        render(parameters, kThin);
        ASSERT_EQ(rasterizer.facesUsed().size(), 1u);
        EXPECT_EQ(rasterizer.facesUsed()[0]->family, c.family);
        EXPECT_GT(inkInside(rasterizer.bitmap(), 1, 1, 25, 25), 50);
    }
}

// Half-width characters take the font width as their average width, the face scaled
// across; full-width characters keep their proportions and never read the width.
TEST_F(GlyphRasterizerTest, TheFontWidthScalesHalfWidthCharactersOnly) {
    const auto inkColumns = [&] { // inside the 12 x 24 cell
        int columns = 0;
        for (int x = 1; x <= 12; ++x) {
            columns += inkInside(rasterizer.bitmap(), x, 1, x + 1, 25) > 0 ? 1 : 0;
        }
        return columns;
    };
    GlyphParameters half = parametersFor(24, true);
    EXPECT_EQ(render(half, "W"), 12);
    EXPECT_EQ(rasterizer.cell(), (GlyphCell{12, 24}));
    const int natural = inkColumns();
    half.fontWidth = "6";
    EXPECT_EQ(render(half, "W"), 6);
    const int narrow = inkColumns();
    EXPECT_LT(narrow, natural);
    EXPECT_GT(narrow, 0);

    GlyphParameters full = parametersFor(24);
    render(full, kThin);
    const auto natural24 = packGlyph(rasterizer.bitmap(), rasterizer.cell());
    full.fontWidth = "not a number";
    EXPECT_NO_THROW(render(full, kThin));
    EXPECT_EQ(packGlyph(rasterizer.bitmap(), rasterizer.cell()), natural24);
}

// The numbers are converted in order, dot size first, offsets last; a failure stops the
// render there with what came before done, nothing stored and the cursor in place.
TEST_F(GlyphRasterizerTest, AFieldThatIsNotANumberStopsTheRenderWhereItIsConverted) {
    struct Case {
        const char* what;
        void (*spoil)(GlyphParameters&);
        GlyphCell cell; // the cell afterwards
        bool cleared;   // whether the bitmap was cleared
    };
    const Case cases[] = {
        {"dot size", [](GlyphParameters& p) { p.dotSize = "x"; }, {64, 64}, false},
        {"height", [](GlyphParameters& p) { p.fontHeight = "x"; }, {32, 32}, false},
        {"width",
         [](GlyphParameters& p) {
             p.halfWidth = true;
             p.fontWidth = "x";
         },
         {16, 32},
         false},
        {"x offset", [](GlyphParameters& p) { p.xOffset = "x"; }, {32, 32}, true},
        {"y offset", [](GlyphParameters& p) { p.yOffset = "x"; }, {32, 32}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        workbench->generateMode = 0;
        workbench->writeCursor = 0;
        render(parametersFor(64), kThin);
        workbench->generateMode = 1;
        workbench->writeCursor = -5;
        GlyphParameters parameters = parametersFor(32);
        c.spoil(parameters);
        try {
            render(parameters, kThin);
            ADD_FAILURE() << "no error";
        } catch (const WorkbenchError& error) {
            EXPECT_STREQ(error.what(), "'x' is not a valid integer value");
        }
        EXPECT_EQ(workbench->writeCursor, 0);
        EXPECT_EQ(rasterizer.cell(), c.cell);
        EXPECT_EQ(inkInside(rasterizer.bitmap(), 1, 1, 65, 65) == 0, c.cleared);
        EXPECT_TRUE(workbench->image.isErased(0, 4096));
    }
}

// Row 0 and column 0 keep what earlier renders left there, except where the frame and the
// text's background reach.
TEST_F(GlyphRasterizerTest, RowAndColumnZeroKeepWhatEarlierRendersLeft) {
    render(parametersFor(64), "");
    EXPECT_TRUE(rasterizer.bitmap().ink(60, 0));
    EXPECT_TRUE(rasterizer.bitmap().ink(0, 60));
    EXPECT_TRUE(rasterizer.bitmap().ink(60, 65));
    render(parametersFor(24), kThin);
    EXPECT_TRUE(rasterizer.bitmap().ink(60, 0));
    EXPECT_TRUE(rasterizer.bitmap().ink(0, 60));
    EXPECT_FALSE(rasterizer.bitmap().ink(60, 65));

    // Text drawn from row 0 paints its background there, 72 pixels wide for three
    // characters, over the old frame.
    GlyphParameters raised = parametersFor(24);
    raised.yOffset = "-1";
    EXPECT_EQ(render(raised, kMiddle + kMiddle + kMiddle), 72);
    EXPECT_FALSE(rasterizer.bitmap().ink(60, 0));
    EXPECT_TRUE(rasterizer.bitmap().ink(0, 60));
}

TEST_F(GlyphRasterizerTest, TheWidthIsTheSumOfTheAdvances) {
    struct Case {
        GlyphParameters parameters;
        std::string text;
        std::int32_t width;
    };
    GlyphParameters sixteen = parametersFor(16);
    GlyphParameters twelve = parametersFor(12);
    const Case cases[] = {
        {parametersFor(24), kThin + kThin, 48},
        {sixteen, kMiddle, 16},
        {twelve, kMiddle, 12},
        {parametersFor(24, true), "AB", 24},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parameters.dotSize + " " + c.text);
        EXPECT_EQ(render(c.parameters, c.text), c.width);
    }
}

} // namespace
} // namespace lumivert
