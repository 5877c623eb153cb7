#include "font/sized_face.h"

#include "common/workbench_error.h"

#include FT_TRUETYPE_TABLES_H

#include <cstdio>
#include <cstdlib>

namespace lumivert {
namespace {

constexpr int kMonospacedProportion = 9; // PANOSE bProportion "monospaced"

FaceUnits unitsOf(FT_Face face) {
    FaceUnits units;
    units.unitsPerEm = face->units_per_EM;
    units.fixedPitch = FT_IS_FIXED_WIDTH(face);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF) {
        units.ascent = os2->usWinAscent;
        units.descent = os2->usWinDescent;
        units.averageWidth = os2->xAvgCharWidth;
        units.fixedPitch = units.fixedPitch || os2->panose[3] == kMonospacedProportion;
    }
    if (units.ascent + units.descent == 0) {
        units.ascent = face->ascender;
        units.descent = -face->descender;
    }
    return units;
}

std::string describe(const FaceFile& file) {
    return "\"" + file.family + "\" (" + file.path + ")";
}

} // namespace

SizedFace::SizedFace(FT_Library library, FaceFile file, std::int32_t height, std::int32_t width)
    : file_(std::move(file)) {
    if (FT_New_Face(library, file_.path.c_str(), file_.index, &face_) != 0) {
        face_ = nullptr;
        throw WorkbenchError("The face " + describe(file_) + " cannot be opened.");
    }
    if (!FT_IS_SCALABLE(face_)) {
        selectStrike(height);
        return;
    }
    units_ = unitsOf(face_);
    size_ = faceSize(units_, height, width);
    if (FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(size_.ppem)) != 0) {
        throw WorkbenchError("The face " + describe(file_) + " cannot be drawn at " +
                             std::to_string(size_.ppem) + " pixels.");
    }
    if (size_.scaled()) {
        FT_Matrix matrix{FT_DivFix(size_.scaleNumerator, size_.scaleDenominator), 0, 0, 0x10000};
        FT_Set_Transform(face_, &matrix, nullptr);
        loadFlags_ |= FT_LOAD_NO_BITMAP;
    }
}

SizedFace::~SizedFace() {
    if (face_ != nullptr) {
        FT_Done_Face(face_);
    }
}

// A face of bitmaps alone is drawn at the strike nearest the size asked for.
void SizedFace::selectStrike(std::int32_t height) {
    const std::int64_t wanted = height == 0 ? 16 : std::abs(std::int64_t{height});
    int nearest = 0;
    for (int strike = 1; strike < face_->num_fixed_sizes; ++strike) {
        const auto distance = [&](int n) {
            return std::abs(face_->available_sizes[n].y_ppem / 64 - wanted);
        };
        if (distance(strike) < distance(nearest)) {
            nearest = strike;
        }
    }
    if (face_->num_fixed_sizes <= 0 || FT_Select_Size(face_, nearest) != 0) {
        FT_Done_Face(face_);
        face_ = nullptr;
        throw WorkbenchError("The face " + describe(file_) + " has no size to draw with.");
    }
    const auto& metrics = face_->size->metrics;
    size_.ppem = metrics.y_ppem;
    size_.ascent = static_cast<std::int32_t>((metrics.ascender + 63) / 64);
    size_.descent = static_cast<std::int32_t>((-metrics.descender + 63) / 64);
}

unsigned SizedFace::glyphIndex(char32_t codePoint) const {
    return FT_Get_Char_Index(face_, codePoint);
}

FT_GlyphSlot SizedFace::load(unsigned glyphIndex) {
    FT_Error error = FT_Load_Glyph(face_, glyphIndex, loadFlags_);
    if (error != 0) {
        error = FT_Load_Glyph(face_, glyphIndex,
                              loadFlags_ | static_cast<FT_Int32>(FT_LOAD_NO_HINTING));
    }
    if (error != 0) {
        throw WorkbenchError("The face " + describe(file_) + " cannot draw its glyph " +
                             std::to_string(glyphIndex) + ".");
    }
    return face_->glyph;
}

std::int32_t SizedFace::advance(FT_GlyphSlot slot) const {
    return advancePixels(units_, size_, slot->advance.x);
}

} // namespace lumivert
