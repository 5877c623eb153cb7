#include "transfer/upload_plan.h"

#include "image/block_rule.h"

#include <set>

namespace lumivert {
namespace {

constexpr std::int32_t kBlocksPerSector = kPagesPerSector / kPagesPerBlock;

bool sectorUnchanged(const FlashImage& image, const UploadJournal& journal, std::int32_t sector) {
    const auto held = journal.sector(sector);
    return held && *held == hashBytes(image.image().subspan(
                                static_cast<std::size_t>(sector) * kSectorSize, kSectorSize));
}

} // namespace

UploadPlan::UploadPlan(const FlashImage& image, const std::vector<PageRange>& ranges,
                       const UploadJournal* unchangedAgainst) {
    std::set<std::int32_t> skipped;
    for (const PageRange& range : ranges) {
        for (std::int32_t page = range.start; page + kPagesPerBlock <= range.start + range.count;
             page += kPagesPerBlock) {
            if (page < 0 || page + kPagesPerBlock > kImagePages || isBlockEmpty(image, page)) {
                continue;
            }
            const std::int32_t sector = page / kPagesPerSector;
            if (unchangedAgainst != nullptr && sectorUnchanged(image, *unchangedAgainst, sector)) {
                skipped.insert(sector);
                continue;
            }
            sends_[static_cast<std::size_t>(page / kPagesPerBlock)] = true;
            ++blocksToSend_;
        }
    }
    sectorsSkipped_ = static_cast<std::int64_t>(skipped.size());
}

bool UploadPlan::sends(std::int32_t page) const {
    return page >= 0 && page < kImagePages &&
           sends_[static_cast<std::size_t>(page / kPagesPerBlock)];
}

bool UploadPlan::lastInSector(std::int32_t page) const {
    const std::int32_t block = page / kPagesPerBlock;
    const std::int32_t sectorEnd = (block / kBlocksPerSector + 1) * kBlocksPerSector;
    for (std::int32_t later = block + 1; later < sectorEnd; ++later) {
        if (sends_[static_cast<std::size_t>(later)]) {
            return false;
        }
    }
    return sends(page);
}

std::int64_t UploadPlan::blocksToSend(const PageRange& range) const {
    std::int64_t count = 0;
    for (std::int32_t page = range.start; page + kPagesPerBlock <= range.start + range.count;
         page += kPagesPerBlock) {
        count += sends(page) ? 1 : 0;
    }
    return count;
}

} // namespace lumivert
