#include "picture/picture_index_entry.h"

namespace lumivert {
namespace {

std::uint8_t byteOf(std::int64_t value, int shift) {
    return static_cast<std::uint8_t>((value >> shift) & 0xFF);
}

} // namespace

PictureIndexEntry pictureIndexEntry(int width, int height, std::int32_t startOffset) {
    return {byteOf(width, 8),
            byteOf(width, 0),
            byteOf(height, 8),
            byteOf(height, 0),
            0x00,
            byteOf(startOffset, 16),
            byteOf(startOffset, 8),
            byteOf(startOffset, 0)};
}

std::int64_t pictureIndexOffset(const RegionMap& regionMap, int number) {
    return regionMap.offset(RegionMap::PictureIndexBase) + 8 * static_cast<std::int64_t>(number);
}

} // namespace lumivert
