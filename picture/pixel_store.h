#pragma once

#include "image/flash_image.h"
#include "picture/decoded_picture.h"

#include <cstdint>

namespace lumivert {

// Stores the picture's pixels in the order the module reads them, column by column from the
// left, each column from the top row down, each pixel's RGB565 value high byte first. Each
// pixel's two bytes go to the WriteCursor and the byte after it; the cursor then advances by
// 2 unless it already stands at 0x1FFFFF or beyond, where it stays. Bytes at or past the end
// of the flash are dropped. Returns whether every byte of the picture was stored.
bool storePixels(FlashImage& image, std::int32_t& writeCursor, const DecodedPicture& picture);

// The preview's walk: the cursor moves as storePixels moves it, and nothing is stored.
void skipPixels(std::int32_t& writeCursor, std::int64_t pixelCount);

} // namespace lumivert
