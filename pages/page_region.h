#pragma once

#include "image/flash_image.h"
#include "image/region_map.h"
#include "pages/page_files.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumivert {

// The pages region of the flash: one FlashBlock for each of the 128 pages of the page list.
inline constexpr std::int32_t kPageSlotSize = kFlashBlockSize;
// A page's text and its closing 0x00 fill at most its slot.
inline constexpr std::size_t kLongestPageText = kPageSlotSize - 1;

// What the module stores of a page's content (GBK, as the page list holds it): the content
// without leading and trailing characters of codes 0x00 to 0x20, and then without its line
// markers, so that the lines reach the module joined.
std::string pageText(const std::string& content);

// Builds the pages region from the rows of pages 1 to 128 of the page list, each row's content
// cell (missing rows count as empty):
// a page with text gets its text and a 0x00 at the start of its slot, the rest of the slot
// keeping what it held; a page without text a slot of 0xFF. A text longer than 1,023 bytes
// is cut at a whole character to fit; the result holds a warning line for each such page.
std::vector<std::string> buildPageRegion(FlashImage& image, const RegionMap& map,
                                         const std::vector<PageRow>& rows);

} // namespace lumivert
