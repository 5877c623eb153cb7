#include "transfer/block_upload.h"

#include "image/block_rule.h"
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

bool sendBlock(ModuleLink& link, const FlashImage& image, std::int32_t page,
               std::span<std::uint8_t, kFlashBlockSize> buffer) {
    const std::string command = blockCommand(page);
    const std::string shownAs = command.substr(0, command.size() - 1);
    if (!exchangeWithModule(link, command, shownAs)) {
        return false;
    }
    scrambleBlock(image, page, buffer);
    return exchangeWithModule(link, buffer, shownAs + " 的数据");
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
                        std::int32_t count, UploadDisplay& display) {
    display.showCaption(kWriting);
    const FinishedDisplay finished(display);
    const std::int32_t blockCount = count / kPagesPerBlock;
    std::array<std::uint8_t, kFlashBlockSize> buffer{};
    for (std::int32_t block = 0; block < blockCount; ++block) {
        display.showCaption(progressCaption(block, blockCount));
        display.showPosition(static_cast<int>(static_cast<std::int64_t>(block) * 100 / blockCount));
        link.host.progress(block, blockCount);
        link.host.pump();
        if (link.host.cancelled()) {
            return TransferEnd::Cancelled;
        }
        const std::int32_t page = start + block * kPagesPerBlock;
        if (isBlockEmpty(image, page)) {
            continue;
        }
        if (!sendBlock(link, image, page, buffer)) {
            return TransferEnd::Cancelled;
        }
    }
    if (blockCount > 0) {
        link.host.progress(blockCount, blockCount);
    }
    return TransferEnd::Finished;
}

} // namespace lumivert
