#include "font/full_set_font.h"

#include "font/glyph_generation.h"
#include "image/generate_mode_guard.h"

#include <string>

namespace lumivert {

const char* fullSetDotSize(FullSetFont font) {
    return font == FullSetFont::Dots12 ? "12" : "16";
}

void generateFullSetFont(Workbench& workbench, GlyphRasterizer& rasterizer, FullSetFont font,
                         GlyphParameters parameters, FontGenerationSink& sink,
                         OperationHost& host) {
    const GenerateModeGuard generating(workbench);
    workbench.writeCursor = workbench.regionMap.offset(
        font == FullSetFont::Dots12 ? RegionMap::Font12Base : RegionMap::Font16Base);
    parameters.dotSize = fullSetDotSize(font);

    GlyphGeneration generation(workbench, rasterizer, sink, host, kGb2312Codes);
    std::string character(2, '\0');
    for (int lead = kGb2312FirstLead; lead <= kGb2312LastLead; ++lead) {
        for (int trail = kGb2312FirstTrail; trail <= kGb2312LastTrail; ++trail) {
            character[0] = static_cast<char>(lead);
            character[1] = static_cast<char>(trail);
            generation.renderGlyph(parameters, character);
            if (!generation.stepDone()) {
                return;
            }
        }
    }
}

} // namespace lumivert
