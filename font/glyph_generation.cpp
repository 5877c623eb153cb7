#include "font/glyph_generation.h"

#include "font/glyph_preview.h"

namespace lumivert {

void GlyphGeneration::renderGlyph(const GlyphParameters& parameters, std::string_view character) {
    sink_.characterStarting(character);
    const std::int32_t width = rasterizer_.render(workbench_, parameters, character);
    sink_.glyphRendered(rasterizer_, width);
    previewPitch(kGlyphPreviewSide, rasterizer_.cell());
    sink_.glyphPreviewed(rasterizer_);
}

bool GlyphGeneration::stepDone() {
    host_.progress(++done_, steps_);
    host_.pump();
    return !host_.cancelled();
}

} // namespace lumivert
