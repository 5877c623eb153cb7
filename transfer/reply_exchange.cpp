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

void throwWhenPortLost(ModuleChannel& channel) {
    if (channel.portLost()) {
        throw TransferError("串口已断开：" + channel.comm().CommName());
    }
}

bool awaitReply(ModuleLink& link, Clock::time_point deadline, const std::string& shownAs) {
    ModuleChannel& channel = link.channel;
    for (;;) {
        if (channel.answered()) {
            return true;
        }
        if (link.host.cancelled()) {
            return false;
        }
        throwWhenPortLost(channel);
        if (!channel.comm().isOpen()) {
            throw TransferError("串口已关闭，不再等待应答：" + shownAs);
        }
        const auto now = Clock::now();
        if (now >= deadline) {
            throw TransferError(channel.answerIncomplete()
                                    ? "模块应答未以设定的结束符结束：" + shownAs
                                    : "模块无应答：" + shownAs);
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        link.host.wait(std::min(left, kLongestWait));
    }
}

} // namespace

bool exchangeWithModule(ModuleLink& link, std::span<const std::uint8_t> bytes,
                        const std::string& shownAs) {
    throwWhenPortLost(link.channel);
    TComm& comm = link.channel.comm();
    link.channel.expectAnswer();
    writeAll(comm, bytes, shownAs);
    const auto deadline = Clock::now() + replyTimeLimit(comm.settings(), bytes.size());
    return awaitReply(link, deadline, shownAs);
}

void waitUntilSent(ModuleChannel& channel) {
    constexpr std::chrono::milliseconds kDriverTime{2000};
    TComm& comm = channel.comm();
    const std::size_t unsent = comm.unsentBytes();
    const auto most = lineTime(comm.settings(), unsent) + kDriverTime;
    if (comm.drainOutput(most)) {
        return;
    }
    comm.dispatchPending();
    throwWhenPortLost(channel);
    throw TransferError("串口 " + comm.CommName() + " 在 " + std::to_string(most.count()) +
                        " 毫秒内未能送出全部数据（开始等待时尚有 " + std::to_string(unsent) +
                        " 字节未送出），模块可能没有收全");
}

void takeLateAnswers(ModuleChannel& channel) {
    TComm& comm = channel.comm();
    const auto end = Clock::now() + lateAnswerTime(comm.settings());
    for (auto now = Clock::now(); now < end; now = Clock::now()) {
        if (comm.waitForEvents(std::chrono::ceil<std::chrono::milliseconds>(end - now))) {
            comm.dispatchPending();
        }
    }
}

void awaitQuietLine(ModuleLink& link) {
    // A stream of answers comes a full read at a time, one every line time of a read.
    const CommSettings& settings = link.channel.comm().settings();
    const auto quiet = lateAnswerTime(settings) + lineTime(settings, TReadThread::kReadSize);
    const auto end = Clock::now() + replyTimeLimit(settings, TReadThread::kReadSize);
    auto quietFrom = Clock::now();
    std::int64_t deliveries = link.channel.counts().deliveries;
    for (auto now = Clock::now(); now < end && now - quietFrom < quiet && !link.host.cancelled();
         now = Clock::now()) {
        link.host.wait(std::min(
            std::chrono::ceil<std::chrono::milliseconds>(quiet - (now - quietFrom)), kLongestWait));
        if (link.channel.counts().deliveries != deliveries) {
            deliveries = link.channel.counts().deliveries;
            quietFrom = Clock::now();
        }
    }
}

bool exchangeWithModule(ModuleLink& link, const std::string& text, const std::string& shownAs) {
    return exchangeWithModule(
        link, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), shownAs);
}

} // namespace lumivert
