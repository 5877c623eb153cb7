#include "app/window/glyph_view.h"

#include "font/glyph_preview.h"

namespace lumivert {
namespace {

RgbSurface surfaceOf(ImageBox& box) {
    QImage& canvas = box.canvas();
    return {reinterpret_cast<std::uint32_t*>(canvas.bits()), canvas.width(), canvas.height(),
            canvas.bytesPerLine() / 4};
}

} // namespace

void showRenderedGlyph(ImageBox& picture, const GlyphRasterizer& rasterizer) {
    showGlyphBitmap(rasterizer.bitmap(), surfaceOf(picture));
    picture.update();
}

void showEnlargedGlyph(ImageBox& picture, const GlyphRasterizer& rasterizer) {
    picture.update();
    drawGlyphPreview(rasterizer.bitmap(), rasterizer.cell(), surfaceOf(picture));
}

} // namespace lumivert
