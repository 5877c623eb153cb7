#include "transfer/journal_keeper.h"

#include <algorithm>

namespace lumivert {

void JournalKeeper::beforeBlock(std::int32_t page) {
    const std::int32_t sector = page / kPagesPerSector;
    if (sector_ == sector) {
        return;
    }
    sector_.reset();
    if (page % kPagesPerSector == 0) {
        sector_ = sector;
        held_.fill(kErased);
    }
    if (journal_.forget(sector)) {
        save_();
    }
}

void JournalKeeper::acknowledged(std::int32_t page,
                                 std::span<const std::uint8_t, kFlashBlockSize> block,
                                 bool lastInSector) {
    const std::int32_t sector = page / kPagesPerSector;
    if (sector_ != sector) {
        return;
    }
    const auto at = static_cast<std::size_t>(page % kPagesPerSector) * kFlashPageSize;
    std::copy(block.begin(), block.end(), held_.begin() + static_cast<std::ptrdiff_t>(at));
    if (lastInSector) {
        journal_.record(sector, hashBytes(held_));
        recorded_.push_back(sector);
        sector_.reset();
        save_();
    }
}

} // namespace lumivert

namespace lumivert {

void JournalKeeper::forgetRecorded() {
    bool forgotten = false;
    for (const std::int32_t sector : recorded_) {
        forgotten = journal_.forget(sector) || forgotten;
    }
    recorded_.clear();
    if (forgotten) {
        save_();
    }
}

} // namespace lumivert
