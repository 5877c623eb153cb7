#include "serial/port_thread.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <poll.h>
#include <time.h>

namespace lumivert {
namespace {

using Clock = std::chrono::steady_clock;

timespec timeUntil(Clock::time_point deadline) {
    const auto left = std::max(Clock::duration::zero(), deadline - Clock::now());
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds);
    return {static_cast<time_t>(seconds.count()), static_cast<long>(nanoseconds.count())};
}

} // namespace

PortWait waitForStopOr(const WakeEvent& stop, int fd, short events,
                       std::optional<Clock::time_point> deadline) {
    std::array<pollfd, 2> entries{{{stop.descriptor(), POLLIN, 0}, {fd, events, 0}}};
    int ready = 0;
    do {
        // ppoll: a deadline to the nanosecond, where poll() would round to milliseconds.
        const timespec left = deadline ? timeUntil(*deadline) : timespec{};
        ready = ::ppoll(entries.data(), entries.size(), deadline ? &left : nullptr, nullptr);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) {
        return PortWait::Failed;
    }
    if ((entries[0].revents & POLLIN) != 0) {
        return PortWait::Stop;
    }
    if ((entries[1].revents & POLLNVAL) != 0) {
        return PortWait::Gone;
    }
    return entries[1].revents != 0 ? PortWait::Ready : PortWait::Timeout;
}

} // namespace lumivert
