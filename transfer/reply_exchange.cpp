#include "transfer/reply_exchange.h"

#include "transfer/reply_time_limit.h"
#include "transfer/transfer_error.h"

#include <algorithm>
#include <limits>

namespace lumivert {
namespace {

using Clock = std::chrono::steady_clock;

// The longest single wait: the wait checks the port and the time limit at least this often,
// however the host's wait behaves.
constexpr std::chrono::milliseconds kLongestWait{250};

void writeAll(TComm& comm, std::span<const std::uint8_t> bytes, const std::string& shownAs) {
    constexpr std::size_t kMostPerWrite = std::numeric_limits<std::uint16_t>::max();
    do {
        const std::size_t piece = std::min(bytes.size(), kMostPerWrite);
        if (!comm.WriteData(bytes.data(), static_cast<std::uint16_t>(piece))) {
            throw TransferError("串口未打开或已断开，无法发送：" + shownAs);
        }
        bytes = bytes.subspan(piece);
    } while (!bytes.empty());
}

bool awaitReply(ModuleLink& link, Clock::time_point deadline, const std::string& shownAs) {
    for (;;) {
        if (link.replyFlag.raised()) {
            return true;
        }
        if (link.host.cancelled()) {
            return false;
        }
        if (!link.comm.isOpen()) {
            throw TransferError("串口已关闭，不再等待应答：" + shownAs);
        }
        const auto now = Clock::now();
        if (now >= deadline) {
            throw TransferError("模块无应答：" + shownAs);
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        link.host.wait(std::min(left, kLongestWait));
    }
}

} // namespace

bool exchangeWithModule(ModuleLink& link, std::span<const std::uint8_t> bytes,
                        const std::string& shownAs) {
    link.replyFlag.lower();
    writeAll(link.comm, bytes, shownAs);
    const auto deadline = Clock::now() + replyTimeLimit(link.comm.settings(), bytes.size());
    return awaitReply(link, deadline, shownAs);
}

bool exchangeWithModule(ModuleLink& link, const std::string& text, const std::string& shownAs) {
    return exchangeWithModule(
        link, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), shownAs);
}

} // namespace lumivert
