#pragma once

#include "image/flash_image.h"
#include "image/region_map.h"

#include <cstdint>

namespace lumivert {

// The state the workbench's operations share for a whole run: the flash image with its
// region map, the cursors of the generators and the generation flag.
struct Workbench {
    RegionMap regionMap;
    FlashImage image;
    std::int32_t writeCursor = 0; // offset of the next generated data byte
    std::int32_t indexCursor = 0; // offset of the next extracted-character index entry
    int generateMode = 0;         // 1 only while a batch generation runs

    // The start-up state: generation off, the standard region map, every byte 0xFF.
    void reset();
};

} // namespace lumivert
