#include "inspect/image_check.h"

#include "font/ascii_font.h"
#include "font/extracted_layout.h"
#include "inspect/check_rules.h"
#include "pages/page_region.h"

#include <algorithm>

namespace lumivert {
namespace {

struct Decoded {
    std::vector<ExtractedEntry> entries;
    std::vector<PictureEntry> pictures;
    std::vector<PageSlot> slots;
};

std::int64_t regionSize(const RegionMap& regions, RegionMap::Entry base, RegionMap::Entry next) {
    return regions.offset(next) - regions.offset(base);
}

// A font region holds its whole font once anything of it is written.
std::int64_t fontFill(const FlashImage& image, const RegionMap& regions, RegionMap::Entry base,
                      std::int64_t fontSize) {
    return image.isErased(regions.offset(base), fontSize) ? 0 : fontSize;
}

// The glyphs and the pictures take their region up to the end of the one reaching furthest.
template <typename Items, typename End>
std::int64_t furthestEnd(const Items& items, std::int64_t base, std::int64_t capacity, End end) {
    std::int64_t furthest = base;
    for (const auto& item : items) {
        furthest = std::max(furthest, end(item));
    }
    return std::min(furthest - base, capacity);
}

std::vector<RegionFill> regionFills(const FlashImage& image, const RegionMap& regions,
                                    const Decoded& decoded) {
    using E = RegionMap::Entry;
    const std::int64_t glyphBase = regions.offset(E::ExtractedGlyphBase);
    const std::int64_t glyphCapacity =
        regionSize(regions, E::ExtractedGlyphBase, E::PageRegionBase);
    const std::int64_t pictureBase = regions.offset(E::PictureDataBase);
    const std::int64_t pictureCapacity = regionSize(regions, E::PictureDataBase, E::ImageEnd);
    std::int64_t pageBytes = 0;
    for (const PageSlot& slot : decoded.slots) {
        pageBytes += slot.state == PageSlot::State::Empty
                         ? 0
                         : std::min<std::int64_t>(static_cast<std::int64_t>(slot.text.size()) + 1,
                                                  kPageSlotSize);
    }
    const auto gbSize = [](FullSetFont font) {
        return std::int64_t{kGb2312Codes} * fullSetCell(font).byteCount();
    };
    return {
        {"extracted-index",
         std::int64_t{kExtractedIndexEntrySize} * static_cast<std::int64_t>(decoded.entries.size()),
         regionSize(regions, E::ExtractedIndexBase, E::PictureIndexBase)},
        {"picture-index", 8 * static_cast<std::int64_t>(decoded.pictures.size()),
         regionSize(regions, E::PictureIndexBase, E::Font12Base)},
        {"gb12", fontFill(image, regions, E::Font12Base, gbSize(FullSetFont::Dots12)),
         regionSize(regions, E::Font12Base, E::Font16Base)},
        {"gb16", fontFill(image, regions, E::Font16Base, gbSize(FullSetFont::Dots16)),
         regionSize(regions, E::Font16Base, E::AsciiFontBase)},
        {"ascii", fontFill(image, regions, E::AsciiFontBase, kAsciiFontSize),
         regionSize(regions, E::AsciiFontBase, E::ExtractedGlyphBase)},
        {"extracted-glyphs",
         furthestEnd(decoded.entries, glyphBase, glyphCapacity,
                     [](const ExtractedEntry& entry) { return entry.glyphEnd(); }),
         glyphCapacity},
        {"pages", pageBytes, regionSize(regions, E::PageRegionBase, E::PictureDataBase)},
        {"picture-data",
         furthestEnd(decoded.pictures, pictureBase, pictureCapacity,
                     [](const PictureEntry& picture) { return picture.end(); }),
         pictureCapacity},
    };
}

std::string counted(std::size_t count, const std::string& thing) {
    return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

std::string summaryOf(const Decoded& decoded) {
    const auto pages = std::count_if(decoded.slots.begin(), decoded.slots.end(), [](const auto& s) {
        return s.state != PageSlot::State::Empty;
    });
    return "No problems found: " + counted(decoded.entries.size(), "extracted character") + ", " +
           counted(decoded.pictures.size(), "picture") + ", " +
           counted(static_cast<std::size_t>(pages), "page") + ".";
}

} // namespace

CheckReport checkImage(const FlashImage& image, const RegionMap& regions,
                       const CheckContext& context, FaceCoverage& faces) {
    const Decoded decoded{readExtractedIndex(image, regions, context.rows),
                          readPictureIndex(image, regions), readPageSlots(image, regions)};
    CheckReport report;
    Problems& problems = report.problems;
    checkExtractedGlyphs(image, regions, decoded.entries, context.rows, faces, problems);
    checkExtractedDuplicates(decoded.entries, problems);
    checkPictures(decoded.pictures, regions, problems);
    checkPageSlots(decoded.slots, problems);
    for (const FullSetFont font : {FullSetFont::Dots12, FullSetFont::Dots16}) {
        checkFullSet(image, regions, font, context.fullSetFace, faces, problems);
    }
    checkPageCharacters(decoded.slots, decoded.entries, problems);
    report.regions = regionFills(image, regions, decoded);
    report.summary = summaryOf(decoded);
    return report;
}

} // namespace lumivert
