#include "font/sized_face.h"

#include "common/workbench_error.h"
#include "font/strike_choice.h"

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

// The strikes of a face of bitmaps alone, file by file: `face` is the first file's, the
// others are opened only to read their sizes. A file that cannot be opened adds none.
std::vector<BitmapStrike> strikesOf(FT_Library library, FT_Face face,
                                    const std::vector<FaceFile>& otherStrikes) {
    std::vector<BitmapStrike> strikes;
    const auto add = [&](FT_Face from, std::size_t file) {
        for (int i = 0; i < from->num_fixed_sizes; ++i) {
            const auto pixels =
                static_cast<std::int32_t>((from->available_sizes[i].y_ppem + 32) / 64);
            strikes.push_back({file, i, pixels});
        }
    };
    add(face, 0);
    for (std::size_t file = 0; file < otherStrikes.size(); ++file) {
        FT_Face other = nullptr;
        if (FT_New_Face(library, otherStrikes[file].path.c_str(), otherStrikes[file].index,
                        &other) == 0) {
            add(other, file + 1);
            FT_Done_Face(other);
        }
    }
    return strikes;
}

} // namespace

SizedFace::SizedFace(FT_Library library, FaceFile file, std::int32_t height, std::int32_t width,
                     const std::vector<FaceFile>& otherStrikes)
    : file_(std::move(file)) {
    open(library);
    try {
        if (FT_IS_SCALABLE(face_)) {
            setSize(height, width);
        } else {
            selectStrike(library, height, otherStrikes);
        }
    } catch (...) {
        if (face_ != nullptr) {
            FT_Done_Face(face_);
        }
        throw;
    }
}

void SizedFace::setSize(std::int32_t height, std::int32_t width) {
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

void SizedFace::open(FT_Library library) {
    if (FT_New_Face(library, file_.path.c_str(), file_.index, &face_) != 0) {
        face_ = nullptr;
        throw WorkbenchError("The face " + describe(file_) + " cannot be opened.");
    }
}

SizedFace::~SizedFace() {
    if (face_ != nullptr) {
        FT_Done_Face(face_);
    }
}

void SizedFace::selectStrike(FT_Library library, std::int32_t height,
                             const std::vector<FaceFile>& otherStrikes) {
    const std::vector<BitmapStrike> strikes = strikesOf(library, face_, otherStrikes);
    if (strikes.empty()) {
        throw WorkbenchError("The face " + describe(file_) + " has no size to draw with.");
    }
    const BitmapStrike& strike = strikes[chooseStrike(strikes, height)];
    if (strike.file != 0) {
        FT_Done_Face(face_);
        face_ = nullptr;
        file_ = otherStrikes[strike.file - 1];
        open(library);
    }
    if (FT_Select_Size(face_, strike.index) != 0) {
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
