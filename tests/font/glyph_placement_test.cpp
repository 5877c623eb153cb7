#include "common/gbk.h"
#include "font/cp936_text.h"
#include "font/face_finder.h"
#include "font/face_metrics.h"
#include "font/full_set_font.h"
#include "font/glyph_packing.h"
#include "font/glyph_rasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace lumivert {
namespace {

// One glyph as FreeType renders it on its own, monochrome, placed by the rule the old
// platform's text output follows: its bitmap at (pen x + bitmap_left, baseline - bitmap_top),
// the pen at 1 and the baseline the rounded ascent below row 1.
class StandaloneGlyphs {
public:
    StandaloneGlyphs(std::int32_t height, std::int32_t width) {
        FT_Init_FreeType(&library_);
        const FaceFile& file = FaceFinder::instance().find("宋体")->chosen();
        FT_New_Face(library_, file.path.c_str(), file.index, &face_);
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
        const FaceUnits units{face_->units_per_EM, os2->usWinAscent, os2->usWinDescent,
                              os2->xAvgCharWidth, false};
        const FaceSize size = faceSize(units, height, width);
        ascent_ = size.ascent;
        FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(size.ppem));
        if (size.scaled()) {
            FT_Matrix matrix{FT_DivFix(size.scaleNumerator, size.scaleDenominator), 0, 0, 0x10000};
            FT_Set_Transform(face_, &matrix, nullptr);
            flags_ |= FT_LOAD_NO_BITMAP;
        }
    }
    ~StandaloneGlyphs() {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    StandaloneGlyphs(const StandaloneGlyphs&) = delete;
    StandaloneGlyphs& operator=(const StandaloneGlyphs&) = delete;

    bool has(char32_t codePoint) const { return FT_Get_Char_Index(face_, codePoint) != 0; }

    std::vector<std::uint8_t> glyph(char32_t codePoint, GlyphCell cell) {
        const FT_UInt index = FT_Get_Char_Index(face_, codePoint);
        if (FT_Load_Glyph(face_, index, flags_) != 0) {
            FT_Load_Glyph(face_, index, flags_ | static_cast<FT_Int32>(FT_LOAD_NO_HINTING));
        }
        FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_MONO);
        const FT_GlyphSlot slot = face_->glyph;
        GlyphBitmap placed;
        for (unsigned row = 0; row < slot->bitmap.rows; ++row) {
            const unsigned char* line =
                slot->bitmap.buffer + static_cast<std::ptrdiff_t>(row) * slot->bitmap.pitch;
            for (unsigned column = 0; column < slot->bitmap.width; ++column) {
                if ((line[column / 8] & (0x80 >> (column % 8))) != 0) {
                    placed.setPixel(1 + slot->bitmap_left + static_cast<int>(column),
                                    1 + ascent_ - slot->bitmap_top + static_cast<int>(row), true);
                }
            }
        }
        return packGlyph(placed, cell);
    }

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    std::int32_t ascent_ = 0;
    FT_Int32 flags_ = FT_LOAD_TARGET_MONO;
};

// The characters of a set as GBK text, each with its code point.
struct SetCharacter {
    std::string gbk;
    char32_t codePoint;
};

std::vector<SetCharacter> asciiCharacters() {
    std::vector<SetCharacter> characters;
    for (char c = 0x21; c <= 0x7E; ++c) {
        characters.push_back({std::string(1, c), static_cast<char32_t>(c)});
    }
    return characters;
}

// The assigned codes of the GB2312 set.
std::vector<SetCharacter> gb2312Characters() {
    std::vector<SetCharacter> characters;
    std::vector<TextCharacter> decoded;
    for (int hi = kGb2312FirstLead; hi <= kGb2312LastLead; ++hi) {
        for (int lo = kGb2312FirstTrail; lo <= kGb2312LastTrail; ++lo) {
            const std::string code{static_cast<char>(hi), static_cast<char>(lo)};
            decodeCp936(code, decoded);
            if (decoded.front().assigned()) {
                characters.push_back({code, decoded.front().codePoint});
            }
        }
    }
    return characters;
}

struct SetAtSize {
    int dots;
    bool halfWidth;
};

std::string nameOf(const ::testing::TestParamInfo<SetAtSize>& info) {
    return std::to_string(info.param.dots) + (info.param.halfWidth ? "Half" : "Full");
}

class GlyphPlacementTest : public ::testing::TestWithParam<SetAtSize> {};

// Every glyph the rasterizer draws from the chosen face, outline or embedded bitmap, is the
// glyph FreeType renders on its own: no dot of a thin stroke is lost or added by drawing it
// into the shared bitmap. The rows of the default font definitions at their sizes (full-width
// hanzi, half-width ASCII) and the 12-dot and 16-dot sets.
TEST_P(GlyphPlacementTest, EveryGlyphIsFreeTypesOwnRenderingPlacedByItsBearing) {
    const SetAtSize set = GetParam();
    GlyphParameters parameters;
    parameters.dotSize = std::to_string(set.dots);
    parameters.fontHeight = std::to_string(set.dots);
    parameters.fontWidth = std::to_string(set.halfWidth ? set.dots / 2 : set.dots);
    parameters.halfWidth = set.halfWidth;
    StandaloneGlyphs standalone(set.dots, set.halfWidth ? set.dots / 2 : 0);
    const GlyphCell cell = glyphCell(set.dots, set.halfWidth);
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    GlyphRasterizer rasterizer;
    std::string differing;
    int compared = 0;
    for (const auto& character : set.halfWidth ? asciiCharacters() : gb2312Characters()) {
        if (!standalone.has(character.codePoint)) {
            continue; // drawn by another face
        }
        rasterizer.render(*workbench, parameters, character.gbk);
        if (packGlyph(rasterizer.bitmap(), cell) != standalone.glyph(character.codePoint, cell)) {
            differing += gbkToUtf8(character.gbk) + " ";
        }
        ++compared;
    }
    EXPECT_GT(compared, set.halfWidth ? 90 : 7000);
    EXPECT_EQ(differing, "");
}

INSTANTIATE_TEST_SUITE_P(Sets, GlyphPlacementTest,
                         ::testing::Values(SetAtSize{12, false}, SetAtSize{16, false},
                                           SetAtSize{24, false}, SetAtSize{24, true},
                                           SetAtSize{32, false}, SetAtSize{32, true},
                                           SetAtSize{48, false}, SetAtSize{48, true},
                                           SetAtSize{64, false}, SetAtSize{64, true}),
                         nameOf);

} // namespace
} // namespace lumivert
