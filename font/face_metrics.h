#pragma once

#include <cstdint>

namespace lumivert {

// How text is sized and measured (docs/glyphs.md), in the units of a face's own design.
// A face's vertical metrics are its Windows ascent and descent (OS/2 usWinAscent and
// usWinDescent; the hhea ascender and descender when those add up to 0), its average
// character width is OS/2 xAvgCharWidth.
struct FaceUnits {
    std::int32_t unitsPerEm = 0;
    std::int32_t ascent = 0;
    std::int32_t descent = 0; // positive below the baseline
    std::int32_t averageWidth = 0;
    bool fixedPitch = false;
};

// A face's size for a font height and width request. The pixel size (ppem) follows the
// height: a positive height asks for that character-cell height (ascent + descent), a
// negative one for that em height, 0 for an em of 16 pixels. A width other than 0 asks
// for that average character width, by scaling the face horizontally; the scale is
// `scaleNumerator / scaleDenominator`, 1/1 when the face keeps its proportions.
struct FaceSize {
    std::int32_t ppem = 0;
    std::int32_t ascent = 0;  // pixels above the baseline, rounded on its own
    std::int32_t descent = 0; // pixels below it
    std::int32_t scaleNumerator = 1;
    std::int32_t scaleDenominator = 1;

    bool scaled() const { return scaleNumerator != scaleDenominator; }
};

// The largest pixel size a request is given. Text this large shows only a corner of one
// glyph in the 100 x 100 glyph bitmap.
inline constexpr std::int32_t kLargestPpem = 8192;

FaceSize faceSize(const FaceUnits& units, std::int32_t height, std::int32_t width);

// The width a glyph adds to a text, from its advance in 1/64 pixels: rounded up to a
// whole pixel; for a fixed-pitch face, an advance of twice the average character width
// (a full-width character) counts as twice the rounded average width.
std::int32_t advancePixels(const FaceUnits& units, const FaceSize& size, std::int64_t advance);

} // namespace lumivert
