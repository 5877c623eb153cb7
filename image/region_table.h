#pragma once

#include "image/flash_image.h"
#include "image/region_map.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace lumivert {

// One region of the flash image that the workbench fills and uploads.
struct Region {
    std::string_view name;
    std::int32_t firstPage;
    std::int32_t pageCount;

    std::int64_t firstOffset() const {
        return static_cast<std::int64_t>(firstPage) * kFlashPageSize;
    }
    std::int64_t size() const { return static_cast<std::int64_t>(pageCount) * kFlashPageSize; }
};

// The regions in address order, from the extracted-character index to the picture data.
std::vector<Region> contentRegions(const RegionMap& map);

// How much of a region holds data, and how many blocks uploading it would send.
struct RegionUsage {
    Region region;
    std::int64_t usedBytes; // bytes that are not 0xFF
    std::int32_t blocksToSend;
};

std::vector<RegionUsage> regionUsage(const FlashImage& image, const RegionMap& map);

} // namespace lumivert
