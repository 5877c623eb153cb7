#include "image/region_table.h"

#include "image/block_rule.h"

#include <algorithm>

namespace lumivert {

std::vector<Region> contentRegions(const RegionMap& map) {
    using E = RegionMap::Entry;
    const auto between = [&map](std::string_view name, E base, E next) {
        return Region{name, map.page(base), map.page(next) - map.page(base)};
    };
    return {
        between("extracted-index", E::ExtractedIndexBase, E::PictureIndexBase),
        between("picture-index", E::PictureIndexBase, E::Font12Base),
        between("gb12", E::Font12Base, E::Font16Base),
        between("gb16", E::Font16Base, E::AsciiFontBase),
        between("ascii", E::AsciiFontBase, E::ExtractedGlyphBase),
        between("extracted-glyphs", E::ExtractedGlyphBase, E::PageRegionBase),
        between("pages", E::PageRegionBase, E::PictureDataBase),
        between("picture-data", E::PictureDataBase, E::ImageEnd),
    };
}

std::vector<RegionUsage> regionUsage(const FlashImage& image, const RegionMap& map) {
    std::vector<RegionUsage> usage;
    for (const Region& region : contentRegions(map)) {
        const auto bytes = image.image().subspan(region.firstOffset(), region.size());
        const auto used = std::count_if(bytes.begin(), bytes.end(),
                                        [](std::uint8_t byte) { return byte != kErased; });
        usage.push_back(
            {region, used, countBlocksToSend(image, region.firstPage, region.pageCount)});
    }
    return usage;
}

} // namespace lumivert
