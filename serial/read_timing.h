#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace lumivert {

// When one read of the port completes, under the three read timeouts of the port
// component, as the serial drivers the workbench was made for time it:
//
// - at once when the read has all the bytes it asked for;
// - `interval` ms after the last byte that arrived, once at least one has (0: no such limit);
// - `multiplier` x the bytes asked for + `constant` ms after the read began, with whatever
//   has arrived by then, possibly nothing (both 0: no such limit);
// - two settings with an interval of 0xFFFFFFFF ms return as soon as any byte is there:
//   with both totals 0 the read waits for that byte without limit (it never completes
//   empty: reissuing empty reads would only spin), and with a multiplier of 0xFFFFFFFF and
//   a constant between them it waits at most `constant` ms for it.
//
// With everything 0 a read completes only when it is full. The main window's 100 ms of
// interval and no totals give one completion for each burst from the module, 100 ms after
// its last byte.
struct ReadTimeouts {
    std::uint32_t interval = 0;
    std::uint32_t multiplier = 0;
    std::uint32_t constant = 0;
};

class ReadTiming {
public:
    using Clock = std::chrono::steady_clock;

    ReadTiming(const ReadTimeouts& timeouts, std::size_t requested, Clock::time_point start);

    // Bytes arrived at `now`.
    void bytesArrived(Clock::time_point now);

    // The moment the read completes unless it fills up before; none while it waits for
    // bytes without limit.
    std::optional<Clock::time_point> deadline() const;

private:
    static constexpr std::uint32_t kNoInterval = 0xFFFFFFFF;

    bool returnsFirstBytes() const;

    ReadTimeouts timeouts_;
    std::optional<Clock::time_point> totalDeadline_;
    std::optional<Clock::time_point> lastByte_;
};

} // namespace lumivert
