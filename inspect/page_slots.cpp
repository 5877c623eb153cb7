#include "inspect/page_slots.h"

#include "pages/page_files.h"
#include "pages/page_region.h"

namespace lumivert {
namespace {

// Text up to the first 0x00; a slot without one shows its bytes up to the first 0xFF.
PageSlot readSlot(const FlashImage& image, std::int64_t offset, int page) {
    PageSlot slot;
    slot.page = page;
    slot.offset = offset;
    if (image.load(offset) == kErased) {
        return slot;
    }
    slot.state = PageSlot::State::Unterminated;
    for (std::int64_t i = 0; i < kPageSlotSize; ++i) {
        const std::uint8_t byte = image.load(offset + i);
        if (byte == 0x00) {
            slot.state = PageSlot::State::Text;
            return slot;
        }
        slot.text.push_back(static_cast<char>(byte));
    }
    slot.text.resize(slot.text.find(static_cast<char>(kErased)) == std::string::npos
                         ? slot.text.size()
                         : slot.text.find(static_cast<char>(kErased)));
    return slot;
}

} // namespace

std::vector<PageSlot> readPageSlots(const FlashImage& image, const RegionMap& regions) {
    std::vector<PageSlot> slots;
    const std::int64_t base = regions.offset(RegionMap::PageRegionBase);
    for (int page = 1; page <= kPageCount; ++page) {
        slots.push_back(readSlot(image, base + std::int64_t{page - 1} * kPageSlotSize, page));
    }
    return slots;
}

} // namespace lumivert
