#include "font/glyph_rasterizer.h"
#include "image/generate_mode_guard.h"
#include "image/workbench.h"
#include "inspect/check_rules.h"
#include "inspect/dot_matrix.h"
#include "inspect/listing_format.h"

#include <memory>

namespace lumivert {
namespace {

// Whether the rasterizer, as the set's generation runs it, puts ink into the cell of
// `character`: a face may draw a character wholly outside the cell (a mark above the line),
// and then a blank cell is what the generation gives, not a fault of the image.
class CellRender {
public:
    CellRender() { scratch_->reset(); }

    bool inks(const GlyphParameters& parameters, const std::string& character,
              const GlyphCell& cell) {
        scratch_->writeCursor = 0;
        const GenerateModeGuard generating(*scratch_);
        rasterizer_.render(*scratch_, parameters, character);
        return !glyphAt(scratch_->image, 0, cell).blank();
    }

private:
    std::unique_ptr<Workbench> scratch_ = std::make_unique<Workbench>();
    GlyphRasterizer rasterizer_;
};

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
    CellRender render;
    for (int lead = kGb2312FirstLead; lead <= kGb2312LastLead; ++lead) {
        for (int trail = kGb2312FirstTrail; trail <= kGb2312LastTrail; ++trail) {
            const std::int64_t offset = fullSetGlyphOffset(regions, font, lead, trail);
            character[0] = static_cast<char>(lead);
            character[1] = static_cast<char>(trail);
            if (glyphAt(image, offset, cell).blank() && faces.drawsInk(parameters, character) &&
                render.inks(parameters, character, cell)) {
                problems.push_back(std::string(setName(font)) + ": the cell of " +
                                   describeCharacter(character) + " at " + hexOffset(offset) +
                                   " is blank, but its face draws the character");
            }
        }
    }
}

} // namespace lumivert
