#include "image/block_rule.h"

namespace lumivert {

bool isBlockEmpty(const FlashImage& image, std::int32_t page) {
    const std::int64_t offset = static_cast<std::int64_t>(page) * kFlashPageSize;
    const bool opensSector = page % kPagesPerSector == 0;
    return image.isErased(offset, opensSector ? kSectorSize : kFlashBlockSize);
}

std::int32_t countBlocksToSend(const FlashImage& image, std::int32_t firstPage,
                               std::int32_t pageCount) {
    std::int32_t count = 0;
    for (std::int32_t block = 0; block < pageCount / kPagesPerBlock; ++block) {
        if (!isBlockEmpty(image, firstPage + block * kPagesPerBlock)) {
            ++count;
        }
    }
    return count;
}

} // namespace lumivert
