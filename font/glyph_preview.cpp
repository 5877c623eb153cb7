#include "font/glyph_preview.h"

#include "common/workbench_error.h"

#include <algorithm>

namespace lumivert {
namespace {

void fillRect(RgbSurface surface, std::int64_t left, std::int64_t top, std::int64_t right,
              std::int64_t bottom, std::uint32_t colour) {
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, surface.width);
    bottom = std::min<std::int64_t>(bottom, surface.height);
    for (std::int64_t y = top; y < bottom; ++y) {
        std::uint32_t* row = surface.pixels + y * surface.stride;
        std::fill(row + left, row + std::max(left, right), colour);
    }
}

} // namespace

void showGlyphBitmap(const GlyphBitmap& bitmap, RgbSurface surface) {
    const int width = std::min(surface.width, GlyphBitmap::kSize);
    const int height = std::min(surface.height, GlyphBitmap::kSize);
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = surface.pixels + y * surface.stride;
        for (int x = 0; x < width; ++x) {
            row[x] = bitmap.ink(x, y) ? kInkColour : kPaperColour;
        }
    }
}

std::int64_t previewPitch(int surfaceWidth, GlyphCell cell) {
    const std::int64_t divisor = std::int64_t{cell.height} + 1;
    if (divisor == 0) {
        throw WorkbenchError("Division by zero");
    }
    return surfaceWidth / divisor - 1;
}

void drawGlyphPreview(const GlyphBitmap& bitmap, GlyphCell cell, RgbSurface surface) {
    fillRect(surface, 0, 0, surface.width, surface.height, kInkColour);
    const std::int64_t pitch = previewPitch(surface.width, cell);
    if (pitch <= 2) {
        return; // squares of no pixels
    }
    // Only the squares that start inside the surface are visited, however large the cell.
    const std::int64_t lastX =
        std::min<std::int64_t>(std::int64_t{cell.width} + 1, (surface.width - 1) / pitch);
    const std::int64_t lastY =
        std::min<std::int64_t>(std::int64_t{cell.height} + 1, (surface.height - 1) / pitch);
    for (std::int64_t x = 0; x <= lastX; ++x) {
        for (std::int64_t y = 0; y <= lastY; ++y) {
            const bool ink =
                bitmap.ink(static_cast<int>(std::min<std::int64_t>(x, GlyphBitmap::kSize)),
                           static_cast<int>(std::min<std::int64_t>(y, GlyphBitmap::kSize)));
            fillRect(surface, x * pitch + 1, y * pitch + 1, x * pitch + pitch - 1,
                     y * pitch + pitch - 1, ink ? kInkColour : kPreviewPaperColour);
        }
    }
}

} // namespace lumivert
