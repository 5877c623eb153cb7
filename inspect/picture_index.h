#pragma once

#include "image/flash_image.h"
#include "image/region_map.h"
#include "picture/rgb565.h"

#include <cstdint>
#include <vector>

namespace lumivert {

// One entry of the picture index, as the module reads it.
struct PictureEntry {
    int number = 0;
    std::int64_t entryOffset = 0;
    int width = 0;
    int height = 0;
    std::int64_t start = 0;        // bytes 4 to 7, big-endian: the flash offset of its first pixel
    bool insideDataRegion = false; // all its pixels lie in the picture data region
    bool insideFlash = false;      // all its pixels lie in the flash

    std::int64_t byteCount() const { return std::int64_t{2} * width * height; }
    std::int64_t end() const { return start + byteCount(); }
};

// The entries of the picture numbers whose 8 bytes in the picture index region are not all
// 0xFF, in number order (0 to 511; the entry of 512 would lie past the region).
std::vector<PictureEntry> readPictureIndex(const FlashImage& image, const RegionMap& regions);

// A picture's colours as the module shows them, row by row from the top: its pixels are
// stored column by column, each RGB565 value high byte first. Only for an entry whose pixels
// lie inside the flash.
std::vector<Rgb> pictureColours(const FlashImage& image, const PictureEntry& entry);

} // namespace lumivert
