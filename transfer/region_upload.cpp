#include "transfer/region_upload.h"

namespace lumivert {

std::vector<PageRange> uploadRanges(UploadRegion region, const RegionMap& map) {
    using E = RegionMap::Entry;
    const auto between = [&map](E base, E next) {
        return PageRange{map.page(base), map.page(next) - map.page(base)};
    };
    switch (region) {
    case UploadRegion::Font12:
        return {between(E::Font12Base, E::Font16Base)};
    case UploadRegion::Font16:
        return {between(E::Font16Base, E::AsciiFontBase)};
    case UploadRegion::Ascii:
        return {between(E::AsciiFontBase, E::ExtractedGlyphBase)};
    case UploadRegion::Extracted:
        return {between(E::ExtractedIndexBase, E::PictureIndexBase),
                between(E::ExtractedGlyphBase, E::PageRegionBase)};
    case UploadRegion::Pages:
        return {between(E::PageRegionBase, E::PictureDataBase)};
    case UploadRegion::Pictures:
        return {between(E::PictureIndexBase, E::Font12Base),
                {map.page(E::PictureDataBase), kImagePages - map.page(E::PictureDataBase)}};
    }
    return {};
}

std::vector<PageRange> uploadRanges(const std::vector<UploadRegion>& regions,
                                    const RegionMap& map) {
    std::vector<PageRange> ranges;
    for (const UploadRegion region : regions) {
        const auto more = uploadRanges(region, map);
        ranges.insert(ranges.end(), more.begin(), more.end());
    }
    return ranges;
}

TransferEnd uploadRegion(ModuleLink& link, const FlashImage& image, const RegionMap& map,
                         UploadRegion region, UploadDisplay& display, UploadSession& session) {
    for (const PageRange& range : uploadRanges(region, map)) {
        if (UploadPages(link, image, range.start, range.count, display, session) !=
            TransferEnd::Finished) {
            return TransferEnd::Cancelled;
        }
    }
    return TransferEnd::Finished;
}

TransferEnd uploadRegion(ModuleLink& link, const FlashImage& image, const RegionMap& map,
                         UploadRegion region, UploadDisplay& display) {
    UploadSession session(image, uploadRanges(region, map));
    return uploadRegion(link, image, map, region, display, session);
}

} // namespace lumivert
