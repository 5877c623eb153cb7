#pragma once

// The bare FreeType loop the glyph benchmarks measure the project's rasterizer against, and
// the codes of the GB2312 set both render.
#include "common/gbk.h"
#include "font/cp936_text.h"
#include "font/face_finder.h"
#include "font/face_metrics.h"
#include "font/glyph_parameters.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cstdint>
#include <string>
#include <vector>

namespace lumivert::bench {

// The GB2312 set: first bytes A1 to F7, second bytes A1 to FE.
inline const std::vector<std::string>& gb2312Codes() {
    static const std::vector<std::string> codes = [] {
        std::vector<std::string> all;
        for (int hi = 0xA1; hi <= 0xF7; ++hi) {
            for (int lo = 0xA1; lo <= 0xFE; ++lo) {
                all.push_back({static_cast<char>(hi), static_cast<char>(lo)});
            }
        }
        return all;
    }();
    return codes;
}

// The code points of the set, as code page 936 maps them.
inline const std::vector<char32_t>& gb2312CodePoints() {
    static const std::vector<char32_t> codePoints = [] {
        std::vector<char32_t> all;
        std::vector<TextCharacter> characters;
        for (const auto& code : gb2312Codes()) {
            decodeCp936(code, characters);
            all.push_back(characters.front().codePoint);
        }
        return all;
    }();
    return codePoints;
}

// The bare loop: one face at the pixel size the height asks for, each glyph loaded and
// rendered by FreeType, placed under the ascent and packed into column bytes.
class BareFreeType {
public:
    explicit BareFreeType(std::int32_t height) {
        FT_Init_FreeType(&library_);
        const FaceFile& file =
            FaceFinder::instance().find(gbkToUtf8(GlyphParameters{}.face))->chosen();
        FT_New_Face(library_, file.path.c_str(), file.index, &face_);
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
        const FaceUnits units{face_->units_per_EM, os2->usWinAscent, os2->usWinDescent, 0, false};
        const FaceSize size = faceSize(units, height, 0);
        ascent_ = size.ascent;
        FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(size.ppem));
    }
    ~BareFreeType() {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    BareFreeType(const BareFreeType&) = delete;
    BareFreeType& operator=(const BareFreeType&) = delete;

    void render(char32_t codePoint, int cellSize, std::uint8_t* out) {
        FT_Load_Glyph(face_, FT_Get_Char_Index(face_, codePoint),
                      FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
        const FT_Bitmap& bitmap = face_->glyph->bitmap;
        const int left = face_->glyph->bitmap_left;
        const int top = ascent_ - face_->glyph->bitmap_top;
        const auto ink = [&](int x, int y) {
            const int column = x - left;
            const int row = y - top;
            if (column < 0 || row < 0 || column >= static_cast<int>(bitmap.width) ||
                row >= static_cast<int>(bitmap.rows)) {
                return false;
            }
            return (bitmap.buffer[row * bitmap.pitch + column / 8] & (0x80 >> (column % 8))) != 0;
        };
        for (int x = 0; x < cellSize; ++x) {
            for (int group = 0; group < cellSize / 8; ++group) {
                std::uint8_t byte = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    byte = static_cast<std::uint8_t>(byte | (ink(x, group * 8 + bit) << bit));
                }
                *out++ = byte;
            }
        }
    }

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    std::int32_t ascent_ = 0;
};

} // namespace lumivert::bench
