#pragma once

#include "common/operation_host.h"
#include "image/flash_image.h"
#include "transfer/journal_keeper.h"
#include "transfer/module_channel.h"
#include "transfer/upload_journal.h"
#include "transfer/upload_meter.h"
#include "transfer/upload_plan.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumivert {

// One upload of one or more ranges of the flash image, from its plan to its summary: which
// blocks go (upload_plan.h), the upload journal kept true as the module acknowledges them
// (journal_keeper.h), and the progress figures (upload_meter.h), shown through the host.
class UploadSession {
public:
    // Sends every block the sector rule sends and keeps no journal.
    UploadSession(const FlashImage& image, const std::vector<PageRange>& ranges);

    // Loads the journal at `journalPath` and keeps it true; with `changedOnly` only the
    // Sectors that differ from it go. A journal that cannot be used counts as empty, and
    // with `changedOnly` the notices say so.
    UploadSession(const FlashImage& image, const std::vector<PageRange>& ranges,
                  std::filesystem::path journalPath, bool changedOnly);

    const UploadPlan& plan() const { return plan_; }
    const UploadMeter& meter() const { return meter_; }

    // The lines to tell the user since the last call: why the journal is not used, and when
    // it could not be saved (it is then deleted, so that it never claims what the module
    // does not hold).
    std::vector<std::string> takeNotices();

    // The block upload's steps: before a planned block is written, and once the module has
    // acknowledged its data. Throws TransferError when the journal can neither be saved nor
    // deleted.
    void beforeBlock(std::int32_t page);
    void acknowledged(std::int32_t page, std::int64_t bytesOnLine);

    // Whether the module's answers during the upload (`counts`, framed with a reply end or
    // not) outnumbered its exchanges: then an answer may have ended a wait before the module
    // had taken its block, so the Sectors this upload recorded in the journal are forgotten
    // again.
    bool answersOutnumberedExchanges(const AnswerCounts& counts, bool framed);

    // Blocks done of blocks to send, and the rate and time left when due (ten times a second
    // at most).
    void showProgress(OperationHost& host);

private:
    void saveJournal();

    const FlashImage& image_;
    std::optional<std::filesystem::path> journalPath_;
    LoadedJournal loaded_;
    std::vector<std::string> notices_;
    UploadPlan plan_;
    UploadMeter meter_;
    std::unique_ptr<JournalKeeper> keeper_;
    bool keeping_ = false;
};

} // namespace lumivert
