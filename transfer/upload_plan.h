#pragma once

#include "image/flash_image.h"
#include "transfer/upload_journal.h"

#include <cstdint>
#include <vector>

namespace lumivert {

// FlashPages [start, start + count) of the flash image.
struct PageRange {
    std::int32_t start;
    std::int32_t count;

    bool operator==(const PageRange&) const = default;
};

// Which blocks of an upload's ranges go to the module: those the sector rule sends
// (block_rule.h), and, when the upload sends only what changed, only in the Sectors whose
// image bytes differ from what the journal says the module holds; such a Sector goes with all
// of its blocks that the sector rule sends. Pages short of a whole block at the end of a
// range are never sent.
class UploadPlan {
public:
    // `unchangedAgainst`: the journal to compare with; none sends every block the rule sends.
    UploadPlan(const FlashImage& image, const std::vector<PageRange>& ranges,
               const UploadJournal* unchangedAgainst);

    // Whether the block at FlashPage `page` goes.
    bool sends(std::int32_t page) const;
    // Whether it is the last block that goes in its Sector.
    bool lastInSector(std::int32_t page) const;

    std::int64_t blocksToSend() const { return blocksToSend_; }
    std::int64_t blocksToSend(const PageRange& range) const;
    // Sectors with blocks the rule sends that the journal has as unchanged.
    std::int64_t sectorsSkipped() const { return sectorsSkipped_; }

private:
    static constexpr std::int32_t kBlocks = kImagePages / kPagesPerBlock;

    std::vector<bool> sends_ = std::vector<bool>(kBlocks, false);
    std::int64_t blocksToSend_ = 0;
    std::int64_t sectorsSkipped_ = 0;
};

} // namespace lumivert
