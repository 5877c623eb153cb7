#pragma once

#include "image/flash_image.h"
#include "image/region_map.h"
#include "transfer/block_upload.h"

#include <cstdint>
#include <vector>

namespace lumivert {

// The contents the upload buttons send, each one or two ranges of FlashPages.
enum class UploadRegion {
    Font12,    // the 12-dot GB2312 font
    Font16,    // the 16-dot GB2312 font
    Ascii,     // the 8 x 16 ASCII font
    Extracted, // the extracted-character index, then their glyphs
    Pages,     // the 128 command pages
    Pictures,  // the picture index, then the picture data
};

// The ranges of `region`, in the order they are sent. Each runs from a base of the map to the
// next base; the picture data runs to the end of the flash.
std::vector<PageRange> uploadRanges(UploadRegion region, const RegionMap& map);

// The ranges of all `regions`, in order.
std::vector<PageRange> uploadRanges(const std::vector<UploadRegion>& regions, const RegionMap& map);

// Uploads the ranges of `region` one after the other in `session`, which has them in its
// plan, the display starting afresh for each. Stops after a range that did not finish.
TransferEnd uploadRegion(ModuleLink& link, const FlashImage& image, const RegionMap& map,
                         UploadRegion region, UploadDisplay& display, UploadSession& session);

// The same in a session of its own that keeps no journal.
TransferEnd uploadRegion(ModuleLink& link, const FlashImage& image, const RegionMap& map,
                         UploadRegion region, UploadDisplay& display);

} // namespace lumivert
