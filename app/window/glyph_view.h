#pragma once

#include "app/window/image_box.h"
#include "font/glyph_rasterizer.h"

namespace lumivert {

// The last render on the font tab's small picture: the glyph bitmap at its natural size.
void showRenderedGlyph(ImageBox& picture, const GlyphRasterizer& rasterizer);

// The last render's cell, dot by dot, on the large picture. A cell height of -1 throws
// "Division by zero" with the picture filled black.
void showEnlargedGlyph(ImageBox& picture, const GlyphRasterizer& rasterizer);

} // namespace lumivert
