#include "serial/read_timing.h"

#include <algorithm>

namespace lumivert {
namespace {

// A wait longer than this (about 31 years) is no limit in practice; capping it keeps the
// deadline's arithmetic within the clock's range.
constexpr std::uint64_t kLongestWaitMs = 1'000'000'000'000;

std::chrono::milliseconds milliseconds(std::uint64_t count) {
    return std::chrono::milliseconds(static_cast<std::int64_t>(std::min(count, kLongestWaitMs)));
}

} // namespace

ReadTiming::ReadTiming(const ReadTimeouts& timeouts, std::size_t requested, Clock::time_point start)
    : timeouts_(timeouts) {
    if (returnsFirstBytes()) {
        if (timeouts_.multiplier != 0) {
            totalDeadline_ = start + milliseconds(timeouts_.constant);
        }
        return;
    }
    if (timeouts_.multiplier != 0 || timeouts_.constant != 0) {
        const std::uint64_t total =
            std::uint64_t{timeouts_.multiplier} * requested + timeouts_.constant;
        totalDeadline_ = start + milliseconds(total);
    }
}

// An interval of 0xFFFFFFFF together with totals of (0, 0) or (0xFFFFFFFF, a constant below
// 0xFFFFFFFF and above 0): the read returns what is there as soon as there is something.
bool ReadTiming::returnsFirstBytes() const {
    if (timeouts_.interval != kNoInterval) {
        return false;
    }
    if (timeouts_.multiplier == 0 && timeouts_.constant == 0) {
        return true;
    }
    return timeouts_.multiplier == kNoInterval && timeouts_.constant != 0 &&
           timeouts_.constant != kNoInterval;
}

void ReadTiming::bytesArrived(Clock::time_point now) {
    lastByte_ = now;
}

std::optional<ReadTiming::Clock::time_point> ReadTiming::deadline() const {
    if (lastByte_ && returnsFirstBytes()) {
        return lastByte_;
    }
    std::optional<Clock::time_point> intervalDeadline;
    if (lastByte_ && timeouts_.interval != 0) {
        intervalDeadline = *lastByte_ + milliseconds(timeouts_.interval);
    }
    if (intervalDeadline && totalDeadline_) {
        return std::min(*intervalDeadline, *totalDeadline_);
    }
    return intervalDeadline ? intervalDeadline : totalDeadline_;
}

} // namespace lumivert
