#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace lumivert {

// One direction of a serial line at a fixed rate, 8N1 (10 bits a byte): when the bytes put on
// it have reached the far end. Bytes follow one another; the line is free from the moment the
// last byte passed arrived. Times are rounded so that the line is never faster than its rate.
class PacedLine {
public:
    using Clock = std::chrono::steady_clock;

    // Throws std::invalid_argument for a rate of 0.
    explicit PacedLine(std::uint32_t baud);

    // The next bytes set off at `start`, or when the line is free, whichever is later.
    void startAt(Clock::time_point start);
    // How many of the next `count` bytes have arrived by `now`.
    std::size_t arrivedBy(Clock::time_point now, std::size_t count) const;
    // When the next `count` bytes will all have arrived.
    Clock::time_point arrivalOf(std::size_t count) const { return free_ + lineTime(count); }
    // The next `count` bytes have passed.
    void pass(std::size_t count) { free_ += lineTime(count); }

    // How many bytes the line carries in about a millisecond, at least one: how many bytes
    // to wait for at once, so that pacing wakes about once a millisecond.
    std::size_t bytesPerWake() const;

    // How long `count` bytes take on the line, rounded up to the nanosecond.
    std::chrono::nanoseconds lineTime(std::size_t count) const;

private:
    std::uint32_t baud_;
    Clock::time_point free_{};
};

} // namespace lumivert
