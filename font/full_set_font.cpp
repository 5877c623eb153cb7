#include "font/full_set_font.h"

#include "font/glyph_generation.h"
#include "image/generate_mode_guard.h"

#include <string>

namespace lumivert {

const char* fullSetDotSize(FullSetFont font) {
    return font == FullSetFont::Dots12 ? "12" : "16";
}

bool inGb2312Set(std::string_view character) {
    if (character.size() != 2) {
        return false;
    }
    const auto lead = static_cast<unsigned char>(character[0]);
    const auto trail = static_cast<unsigned char>(character[1]);
    return lead >= kGb2312FirstLead && lead <= kGb2312LastLead && trail >= kGb2312FirstTrail &&
           trail <= kGb2312LastTrail;
}

GlyphCell fullSetCell(FullSetFont font) {
    return glyphCell(font == FullSetFont::Dots12 ? 12 : 16, false);
}

std::int64_t fullSetGlyphOffset(const RegionMap& regions, FullSetFont font, int lead, int trail) {
    const std::int64_t base =
        regions.offset(font == FullSetFont::Dots12 ? RegionMap::Font12Base : RegionMap::Font16Base);
    const std::int64_t code =
        std::int64_t{lead - kGb2312FirstLead} * (kGb2312LastTrail - kGb2312FirstTrail + 1) +
        (trail - kGb2312FirstTrail);
    return base + code * fullSetCell(font).byteCount();
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
