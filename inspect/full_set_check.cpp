#include "inspect/check_rules.h"
#include "inspect/dot_matrix.h"
#include "inspect/listing_format.h"

namespace lumivert {
namespace {

const char* setName(FullSetFont font) {
    return font == FullSetFont::Dots12 ? "gb12" : "gb16";
}

std::int64_t regionBase(const RegionMap& regions, FullSetFont font) {
    return regions.offset(font == FullSetFont::Dots12 ? RegionMap::Font12Base
                                                      : RegionMap::Font16Base);
}

} // namespace

void checkFullSet(const FlashImage& image, const RegionMap& regions, FullSetFont font,
                  const std::string& face, FaceCoverage& faces, Problems& problems) {
    const GlyphCell cell = fullSetCell(font);
    const std::int64_t base = regionBase(regions, font);
    if (image.isErased(base, std::int64_t{kGb2312Codes} * cell.byteCount())) {
        return; // never generated
    }
    GlyphParameters parameters;
    parameters.face = face;
    parameters.dotSize = fullSetDotSize(font);
    parameters.fontHeight = parameters.dotSize;
    std::string character(2, '\0');
    for (int lead = kGb2312FirstLead; lead <= kGb2312LastLead; ++lead) {
        for (int trail = kGb2312FirstTrail; trail <= kGb2312LastTrail; ++trail) {
            const std::int64_t offset = fullSetGlyphOffset(regions, font, lead, trail);
            character[0] = static_cast<char>(lead);
            character[1] = static_cast<char>(trail);
            if (glyphAt(image, offset, cell).blank() && faces.drawsInk(parameters, character)) {
                problems.push_back(std::string(setName(font)) + ": the cell of " +
                                   describeCharacter(character) + " at " + hexOffset(offset) +
                                   " is blank, but its face draws the character");
            }
        }
    }
}

} // namespace lumivert
