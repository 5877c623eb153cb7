#pragma once

#include <cstdint>
#include <optional>

namespace lumivert {

// Line errors and modem-line changes of a port, from the counters that serial drivers keep
// (TIOCGICOUNT). Drivers without counters (pseudo-terminals, many USB adapters) report
// neither.

// The error flags of OnReceiveError, with the values the module's tools have always used.
inline constexpr std::uint32_t CE_RXOVER = 0x0001;   // the driver's input buffer overflowed
inline constexpr std::uint32_t CE_OVERRUN = 0x0002;  // the UART lost a byte
inline constexpr std::uint32_t CE_RXPARITY = 0x0004; // a byte had a parity error
inline constexpr std::uint32_t CE_FRAME = 0x0008;    // a byte had no stop bit
inline constexpr std::uint32_t CE_BREAK = 0x0010;    // a break arrived

// The bits of OnModemStateChange.
inline constexpr std::uint32_t kModemRing = 4;
inline constexpr std::uint32_t kModemCarrierDetect = 8;

struct LineCounters {
    std::uint64_t frame = 0;
    std::uint64_t overrun = 0;
    std::uint64_t parity = 0;
    std::uint64_t breaks = 0;
    std::uint64_t bufferOverrun = 0;
    std::uint64_t carrierDetect = 0;
    std::uint64_t ring = 0;
};

struct LineEvents {
    std::uint32_t errors = 0; // CE_ flags
    std::uint32_t modem = 0;  // kModem bits
};

// What happened on the line between two readings of its counters.
LineEvents lineEventsBetween(const LineCounters& before, const LineCounters& after);

// The counters of the line on `fd`; none when its driver keeps none.
std::optional<LineCounters> readLineCounters(int fd);

} // namespace lumivert
