#include "font/face_metrics.h"

#include <algorithm>
#include <cstdlib>

namespace lumivert {
namespace {

// value * numerator / denominator, rounded half away from zero; positive denominator.
std::int64_t scaleRounded(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t product = value * numerator;
    return (product >= 0 ? product + denominator / 2 : product - denominator / 2) / denominator;
}

std::int32_t ppemForHeight(const FaceUnits& units, std::int32_t height) {
    if (height == 0) {
        return 16;
    }
    if (height < 0) {
        return static_cast<std::int32_t>(
            std::min<std::int64_t>(-std::int64_t{height}, kLargestPpem));
    }
    const std::int64_t cell = std::int64_t{units.ascent} + units.descent;
    if (cell <= 0 || units.unitsPerEm <= 0) {
        return std::min(height, kLargestPpem);
    }
    std::int64_t ppem = scaleRounded(units.unitsPerEm, height, cell);
    if (cell * ppem / units.unitsPerEm > height) {
        --ppem;
    }
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(ppem, 1, kLargestPpem));
}

} // namespace

FaceSize faceSize(const FaceUnits& units, std::int32_t height, std::int32_t width) {
    FaceSize size;
    size.ppem = ppemForHeight(units, height);
    if (units.unitsPerEm > 0) {
        size.ascent =
            static_cast<std::int32_t>(scaleRounded(units.ascent, size.ppem, units.unitsPerEm));
        size.descent =
            static_cast<std::int32_t>(scaleRounded(units.descent, size.ppem, units.unitsPerEm));
        const std::int64_t average = scaleRounded(units.averageWidth, size.ppem, units.unitsPerEm);
        const std::int64_t wanted =
            std::min<std::int64_t>(std::abs(std::int64_t{width}), kLargestPpem);
        if (wanted != 0 && average > 0 && wanted != average) {
            size.scaleNumerator = static_cast<std::int32_t>(wanted);
            size.scaleDenominator = static_cast<std::int32_t>(average);
        }
    }
    return size;
}

std::int32_t advancePixels(const FaceUnits& units, const FaceSize& size, std::int64_t advance) {
    const auto pixels = static_cast<std::int32_t>((advance + 63) / 64);
    if (!units.fixedPitch || units.averageWidth <= 0 || units.unitsPerEm <= 0) {
        return pixels;
    }
    // The average width in 1/64 pixels, scaled as the glyphs are.
    const std::int64_t average =
        scaleRounded(std::int64_t{units.averageWidth} * 64, size.ppem, units.unitsPerEm) *
        size.scaleNumerator / size.scaleDenominator;
    if (pixels == (2 * average + 63) / 64) {
        return static_cast<std::int32_t>(2 * ((average + 32) / 64));
    }
    return pixels;
}

} // namespace lumivert
