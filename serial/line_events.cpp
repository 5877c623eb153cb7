#include "serial/line_events.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace lumivert {
namespace {

std::uint32_t flagIfChanged(std::uint64_t before, std::uint64_t after, std::uint32_t flag) {
    return after != before ? flag : 0;
}

} // namespace

LineEvents lineEventsBetween(const LineCounters& before, const LineCounters& after) {
    LineEvents events;
    events.errors = flagIfChanged(before.bufferOverrun, after.bufferOverrun, CE_RXOVER) |
                    flagIfChanged(before.overrun, after.overrun, CE_OVERRUN) |
                    flagIfChanged(before.parity, after.parity, CE_RXPARITY) |
                    flagIfChanged(before.frame, after.frame, CE_FRAME) |
                    flagIfChanged(before.breaks, after.breaks, CE_BREAK);
    events.modem = flagIfChanged(before.ring, after.ring, kModemRing) |
                   flagIfChanged(before.carrierDetect, after.carrierDetect, kModemCarrierDetect);
    return events;
}

std::optional<LineCounters> readLineCounters(int fd) {
    serial_icounter_struct counters{};
    if (::ioctl(fd, TIOCGICOUNT, &counters) != 0) {
        return std::nullopt;
    }
    const auto count = [](int value) { return static_cast<std::uint64_t>(value); };
    return LineCounters{count(counters.frame), count(counters.overrun),     count(counters.parity),
                        count(counters.brk),   count(counters.buf_overrun), count(counters.dcd),
                        count(counters.rng)};
}

} // namespace lumivert
