#pragma once

#include "image/region_map.h"

#include <array>
#include <cstdint>

namespace lumivert {

// The 8-byte index entry of a picture, big-endian: width (2 bytes), height (2 bytes), 0x00,
// and the 24-bit flash offset of its first pixel byte.
using PictureIndexEntry = std::array<std::uint8_t, 8>;

PictureIndexEntry pictureIndexEntry(int width, int height, std::int32_t startOffset);

// Where the entry of picture `number` lies: 8 bytes per number from the picture index base.
std::int64_t pictureIndexOffset(const RegionMap& regionMap, int number);

} // namespace lumivert
