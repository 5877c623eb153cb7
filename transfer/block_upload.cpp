#include "transfer/block_upload.h"

#include "transfer/reply_exchange.h"

#include <array>

namespace lumivert {
namespace {

constexpr const char* kWriting = "写入中...";

std::string progressCaption(std::int32_t block, std::int32_t blockCount) {
    return std::string(kWriting) + "(" + std::to_string(block) + "/" +
           std::to_string(blockCount - 1) + ")";
}

// Leaves the display as a finished upload does, on every way out.
class FinishedDisplay {
public:
    explicit FinishedDisplay(UploadDisplay& display) : display_(display) {}
    ~FinishedDisplay() {
        display_.showCaption({});
        display_.showPosition(0);
    }
    FinishedDisplay(const FinishedDisplay&) = delete;
    FinishedDisplay& operator=(const FinishedDisplay&) = delete;

private:
    UploadDisplay& display_;
};

// Returns the bytes it put on the line, 0 when the host cancelled.
std::int64_t sendBlock(ModuleLink& link, const FlashImage& image, std::int32_t page,
                       std::span<std::uint8_t, kFlashBlockSize> buffer) {
    const std::string command = blockCommand(page);
    const std::string shownAs = command.substr(0, command.size() - 1);
    if (!exchangeWithModule(link, command, shownAs)) {
        return 0;
    }
    scrambleBlock(image, page, buffer);
    if (!exchangeWithModule(link, buffer, shownAs + " 的数据")) {
        return 0;
    }
    return static_cast<std::int64_t>(command.size() + buffer.size());
}

} // namespace

std::string blockCommand(std::int32_t page) {
    return "BUP(" + std::to_string(page) + ",232)\r";
}

void scrambleBlock(const FlashImage& image, std::int32_t page,
                   std::span<std::uint8_t, kFlashBlockSize> out) {
    image.loadBlock(page, out);
    for (std::size_t m = 0; m < out.size(); ++m) {
        out[m] = static_cast<std::uint8_t>(out[m] ^ (m & 0xFF));
    }
}

TransferEnd UploadPages(ModuleLink& link, const FlashImage& image, std::int32_t start,
                        std::int32_t count, UploadDisplay& display, UploadSession& session) {
    display.showCaption(kWriting);
    const FinishedDisplay finished(display);
    const std::int32_t blockCount = count / kPagesPerBlock;
    std::array<std::uint8_t, kFlashBlockSize> buffer{};
    for (std::int32_t block = 0; block < blockCount; ++block) {
        display.showCaption(progressCaption(block, blockCount));
        display.showPosition(static_cast<int>(static_cast<std::int64_t>(block) * 100 / blockCount));
        session.showProgress(link.host);
        link.host.pump();
        if (link.host.cancelled()) {
            return TransferEnd::Cancelled;
        }
        const std::int32_t page = start + block * kPagesPerBlock;
        if (!session.plan().sends(page)) {
            continue;
        }
        session.beforeBlock(page);
        const std::int64_t sent = sendBlock(link, image, page, buffer);
        if (sent == 0) {
            return TransferEnd::Cancelled;
        }
        session.acknowledged(page, sent);
    }
    session.showProgress(link.host);
    return TransferEnd::Finished;
}

TransferEnd UploadPages(ModuleLink& link, const FlashImage& image, std::int32_t start,
                        std::int32_t count, UploadDisplay& display) {
    UploadSession session(image, {{start, count}});
    return UploadPages(link, image, start, count, display, session);
}

} // namespace lumivert
