#include "transfer/reply_time_limit.h"

#include <cstdint>

namespace lumivert {
namespace {

constexpr std::chrono::milliseconds kModuleAnswerTime{5000};

// Bits on the line per byte, in half bits so that 1.5 stop bits count exactly.
std::uint64_t halfBitsPerByte(const CommSettings& settings) {
    const std::uint64_t dataBits = static_cast<std::uint64_t>(settings.ByteSize) + 5;
    const std::uint64_t parityBits = settings.Parity == TParity::None ? 0 : 1;
    std::uint64_t stopHalfBits = 2;
    if (settings.StopBits == TStopBits::_1_5) {
        stopHalfBits = 3;
    } else if (settings.StopBits == TStopBits::_2) {
        stopHalfBits = 4;
    }
    return 2 * (1 + dataBits + parityBits) + stopHalfBits;
}

} // namespace

std::chrono::milliseconds lineTime(const CommSettings& settings, std::size_t bytes) {
    if (settings.BaudRate == 0) {
        return std::chrono::milliseconds(0);
    }
    const std::uint64_t halfBits = halfBitsPerByte(settings) * bytes;
    const std::uint64_t perMillisecond = 2ULL * settings.BaudRate;
    const std::uint64_t milliseconds = (halfBits * 1000 + perMillisecond - 1) / perMillisecond;
    return std::chrono::milliseconds(static_cast<std::chrono::milliseconds::rep>(milliseconds));
}

std::chrono::milliseconds replyTimeLimit(const CommSettings& settings, std::size_t bytes) {
    return kModuleAnswerTime + std::chrono::milliseconds(settings.ReadIntervalTimeout) +
           lineTime(settings, bytes);
}

} // namespace lumivert

namespace lumivert {

std::chrono::milliseconds lateAnswerTime(const CommSettings& settings) {
    return 2 * std::chrono::milliseconds(settings.ReadIntervalTimeout) +
           std::chrono::milliseconds(50);
}

} // namespace lumivert
