#include "tools/virtual-module/paced_line.h"

#include <algorithm>
#include <stdexcept>

namespace lumivert {
namespace {

// Nanoseconds of ten bits at one baud.
constexpr std::uint64_t kByteNanosecondsAtOneBaud = 10'000'000'000;

} // namespace

PacedLine::PacedLine(std::uint32_t baud) : baud_(baud) {
    if (baud == 0) {
        throw std::invalid_argument("a line rate of 0 baud");
    }
}

void PacedLine::startAt(Clock::time_point start) {
    free_ = std::max(free_, start);
}

std::size_t PacedLine::arrivedBy(Clock::time_point now, std::size_t count) const {
    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(now - free_);
    if (elapsed >= lineTime(count)) {
        return count;
    }
    if (elapsed.count() <= 0) {
        return 0;
    }
    // Below the line time of `count` bytes, so the product stays far from overflowing.
    return static_cast<std::size_t>(static_cast<std::uint64_t>(elapsed.count()) * baud_ /
                                    kByteNanosecondsAtOneBaud);
}

std::size_t PacedLine::bytesPerWake() const {
    return std::max<std::size_t>(1, baud_ / 10 / 1000);
}

std::chrono::nanoseconds PacedLine::lineTime(std::size_t count) const {
    const std::uint64_t bits = static_cast<std::uint64_t>(count) * kByteNanosecondsAtOneBaud;
    return std::chrono::nanoseconds((bits + baud_ - 1) / baud_);
}

} // namespace lumivert
