#pragma once

#include "image/flash_image.h"

#include <cstdint>

namespace lumivert {

// Whether the upload skips the FlashBlock that starts at FlashPage `page`. The first block of
// a sector counts as empty only when the whole sector is 0xFF; any other block when its own
// 1,024 bytes are.
bool isBlockEmpty(const FlashImage& image, std::int32_t page);

// The number of blocks an upload of `pageCount` FlashPages from `firstPage` sends.
std::int32_t countBlocksToSend(const FlashImage& image, std::int32_t firstPage,
                               std::int32_t pageCount);

} // namespace lumivert
