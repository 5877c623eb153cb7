#include "transfer/upload_session.h"

#include "transfer/transfer_error.h"

#include <exception>
#include <utility>

namespace lumivert {

UploadSession::UploadSession(const FlashImage& image, const std::vector<PageRange>& ranges)
    : image_(image), plan_(image, ranges, nullptr),
      meter_(plan_.blocksToSend(), UploadMeter::Clock::now()) {}

UploadSession::UploadSession(const FlashImage& image, const std::vector<PageRange>& ranges,
                             std::filesystem::path journalPath, bool changedOnly)
    : image_(image), journalPath_(std::move(journalPath)),
      loaded_(loadUploadJournal(*journalPath_)),
      plan_(image, ranges, changedOnly ? &loaded_.journal : nullptr),
      meter_(plan_.blocksToSend(), UploadMeter::Clock::now()),
      keeper_(std::make_unique<JournalKeeper>(loaded_.journal, [this] { saveJournal(); })),
      keeping_(true) {
    if (changedOnly && !loaded_.notice.empty()) {
        notices_.push_back(loaded_.notice);
    }
}

std::vector<std::string> UploadSession::takeNotices() {
    return std::exchange(notices_, {});
}

void UploadSession::beforeBlock(std::int32_t page) {
    if (keeping_) {
        keeper_->beforeBlock(page);
    }
}

void UploadSession::acknowledged(std::int32_t page, std::int64_t bytesOnLine) {
    meter_.blockSent(bytesOnLine);
    if (keeping_) {
        const auto offset = static_cast<std::size_t>(page) * kFlashPageSize;
        keeper_->acknowledged(page, image_.image().subspan(offset).first<kFlashBlockSize>(),
                              plan_.lastInSector(page));
    }
}

bool UploadSession::answersOutnumberedExchanges(const AnswerCounts& counts, bool framed) {
    if (!answersOutnumberExchanges(counts, framed)) {
        return false;
    }
    if (keeping_) {
        keeper_->forgetRecorded();
    }
    return true;
}

void UploadSession::showProgress(OperationHost& host) {
    const auto now = UploadMeter::Clock::now();
    if (meter_.showDue(now)) {
        host.throughput(meter_.bytesPerSecond(now), meter_.timeLeft(now));
        host.progress(meter_.blocksDone(), meter_.blocksToSend());
    }
}

// A journal that cannot be saved is deleted: a stale one could claim a Sector the module has
// just erased.
void UploadSession::saveJournal() {
    try {
        saveUploadJournal(*journalPath_, loaded_.journal);
    } catch (const std::exception& saving) {
        try {
            forgetUploadJournal(*journalPath_);
        } catch (const std::exception& deleting) {
            throw TransferError("上传记录无法写入，也无法删除，上传停止：" +
                                std::string(deleting.what()));
        }
        keeping_ = false;
        notices_.push_back("上传记录无法写入，已删除，下次全部上传：" + std::string(saving.what()));
    }
}

} // namespace lumivert
