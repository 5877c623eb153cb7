#include "image/flash_image.h"

#include <algorithm>

namespace lumivert {

FlashImage::FlashImage() : bytes_(new std::uint8_t[kImageBufferSize]) {
    fill();
}

void FlashImage::fill() {
    std::fill_n(bytes_.get(), kImageBufferSize, kErased);
}

bool FlashImage::store(std::int64_t offset, std::uint8_t value) {
    if (offset < 0 || offset >= kImageSize) {
        return false;
    }
    bytes_[offset] = value;
    return true;
}

std::int64_t FlashImage::store(std::int64_t offset, std::span<const std::uint8_t> bytes) {
    const std::int64_t first = std::max<std::int64_t>(offset, 0);
    const std::int64_t end =
        std::min<std::int64_t>(offset + static_cast<std::int64_t>(bytes.size()), kImageSize);
    if (first >= end) {
        return 0;
    }
    std::copy(bytes.begin() + (first - offset), bytes.begin() + (end - offset),
              bytes_.get() + first);
    return end - first;
}

std::uint8_t FlashImage::load(std::int64_t offset) const {
    if (offset < 0 || offset >= kImageBufferSize) {
        return kErased;
    }
    return bytes_[offset];
}

void FlashImage::loadBlock(std::int32_t page, std::span<std::uint8_t, kFlashBlockSize> out) const {
    const std::int64_t offset = static_cast<std::int64_t>(page) * kFlashPageSize;
    for (std::int64_t i = 0; i < kFlashBlockSize; ++i) {
        const std::int64_t at = offset + i;
        out[i] = at >= 0 && at < kImageSize ? bytes_[at] : kErased;
    }
}

bool FlashImage::isErased(std::int64_t offset, std::int64_t length) const {
    const std::int64_t first = std::max<std::int64_t>(offset, 0);
    const std::int64_t end = std::min<std::int64_t>(offset + length, kImageSize);
    return std::all_of(bytes_.get() + std::min(first, end), bytes_.get() + end,
                       [](std::uint8_t byte) { return byte == kErased; });
}

std::span<const std::uint8_t, kImageSize> FlashImage::image() const {
    return std::span<const std::uint8_t, kImageSize>(bytes_.get(), kImageSize);
}

std::span<std::uint8_t, kImageSize> FlashImage::image() {
    return std::span<std::uint8_t, kImageSize>(bytes_.get(), kImageSize);
}

} // namespace lumivert
