#pragma once

#include "image/flash_layout.h"
#include "transfer/upload_journal.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace lumivert {

// Keeps the upload journal true while blocks go to the module, which erases a whole Sector
// when it receives the Sector's first block:
// - before a Sector's first block is written, the Sector is forgotten (and the journal
//   saved when it was known), since from that write on the module may hold anything there;
// - once the last block the upload sends into a Sector is acknowledged, the Sector is
//   recorded with the hash of what the module then holds (the blocks sent, 0xFF elsewhere)
//   and the journal saved.
// A Sector entered at another block than its first is not erased; what the module holds
// there is unknown, and the Sector stays forgotten. So an upload that stops anywhere leaves
// the journal true for every Sector it completed, and the Sector it was in unknown.
class JournalKeeper {
public:
    JournalKeeper(UploadJournal& journal, std::function<void()> save)
        : journal_(journal), save_(std::move(save)) {}

    // The block at FlashPage `page` is about to be written.
    void beforeBlock(std::int32_t page);

    // The module acknowledged the block at `page`, whose bytes are `block` (unscrambled);
    // `lastInSector`: no further block of the upload goes into its Sector.
    void acknowledged(std::int32_t page, std::span<const std::uint8_t, kFlashBlockSize> block,
                      bool lastInSector);

    // Forgets again every Sector recorded so far, when the acknowledgements turn out not to
    // be trustworthy.
    void forgetRecorded();

private:
    UploadJournal& journal_;
    std::function<void()> save_;
    std::optional<std::int32_t> sector_; // the Sector blocks go into, when its content is known
    std::array<std::uint8_t, kSectorSize> held_{};
    std::vector<std::int32_t> recorded_;
};

} // namespace lumivert
