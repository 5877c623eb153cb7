#pragma once

#include "font/glyph_bitmap.h"
#include "font/glyph_cell.h"

#include <cstddef>
#include <cstdint>

namespace lumivert {

// A drawing surface of 32-bit pixels 0xAARRGGBB, rows top to bottom, `stride` pixels apart.
struct RgbSurface {
    std::uint32_t* pixels;
    int width;
    int height;
    std::ptrdiff_t stride;
};

inline constexpr std::uint32_t kInkColour = 0xFF000000;
inline constexpr std::uint32_t kPaperColour = 0xFFFFFFFF;
inline constexpr std::uint32_t kPreviewPaperColour = 0xFFCCCCCC;

// The side of the font tab's enlarged preview, in pixels.
inline constexpr int kGlyphPreviewSide = 481;

// The glyph bitmap at its natural size from the surface's top-left corner, ink black and
// paper white; the part that does not fit is left out.
void showGlyphBitmap(const GlyphBitmap& bitmap, RgbSurface surface);

// The cell with its frame, dot by dot, much enlarged: the surface black, then for every
// pixel (x, y) of x = 0 .. CellWidth + 1 and y = 0 .. CellHeight + 1 a square of
// pitch - 2 pixels at (x * pitch + 1, y * pitch + 1), black for ink and light grey for
// paper (pixels outside the bitmap are paper), cut at the surface's edge. The pitch is
// surface width div (CellHeight + 1) - 1. A CellHeight of -1 throws "Division by zero".
void drawGlyphPreview(const GlyphBitmap& bitmap, GlyphCell cell, RgbSurface surface);

// The pitch of the preview; throws "Division by zero" for a CellHeight of -1.
std::int64_t previewPitch(int surfaceWidth, GlyphCell cell);

} // namespace lumivert
