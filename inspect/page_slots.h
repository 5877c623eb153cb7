#pragma once

#include "image/flash_image.h"
#include "image/region_map.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumivert {

// One slot of the pages region, as the module reads it.
struct PageSlot {
    enum class State {
        Empty,        // starts with 0xFF, as a page without text is stored
        Text,         // its text ends at a 0x00 inside the slot
        Unterminated, // no 0x00 inside the slot: the module reads on into what follows
    };
    int page = 0; // 1 to 128
    std::int64_t offset = 0;
    State state = State::Empty;
    std::string text; // GBK, up to the 0x00; without one, up to the first 0xFF
};

// The slots of pages 1 to 128.
std::vector<PageSlot> readPageSlots(const FlashImage& image, const RegionMap& regions);

} // namespace lumivert
