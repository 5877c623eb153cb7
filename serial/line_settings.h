#pragma once

#include "serial/comm_settings.h"

#include <cstdint>
#include <optional>
#include <termios.h>

namespace lumivert {

// The line of an open port as the component's properties describe it, on top of `current`
// (what the driver holds now), in raw mode:
//
// - raw: the module's bytes are data, not text, so there is no line editing, echo, CR/LF
//   translation, stripping to 7 bits or signal from a control character, and every byte
//   value passes unchanged both ways; CLOCAL so that neither the opening nor a read waits
//   for a carrier, CREAD so that the line receives at all;
// - 5 to 8 data bits; no, odd, even, mark or space parity (mark and space through CMSPAR);
//   parity checking of received bytes (INPCK) with `ParityCheck`;
// - 1 stop bit, or CSTOPB for 1.5 and 2 (on a UART with 5 data bits that gives 1.5, with
//   more it gives 2, the nearest the driver takes);
// - RTS/CTS flow (CRTSCTS) with CTS output flow or RTS handshake; XON/XOFF output and input
//   flow (IXON, IXOFF) with their two characters;
// - the baud rate when it has a B-constant (see standardSpeed); any other rate is left to
//   setCustomBaudRate, and a rate of 0 (which would hang the line up) changes nothing.
//
// Not carried over, as the terminal has no counterpart: DSR flow and sensitivity, continuing
// after XOFF, the XON/XOFF limits, replacing bytes with parity errors, dropping zero bytes.
termios lineTermios(const termios& current, const CommSettings& settings);

// The B-constant of `rate` baud, if it has one.
std::optional<speed_t> standardSpeed(std::uint32_t rate);

// Puts the line of the open port `fd` in the state the properties describe: lineTermios,
// a rate without B-constant through termios2, and the DTR and RTS lines (raised or dropped;
// DTR handshake and RTS handshake or toggling leave the line as the driver holds it). A
// driver without modem lines (a pseudo-terminal) is no error. Returns false when the driver
// refuses the settings or does not take the rate (it holds another one afterwards); the
// rest of what it took stays.
bool applyLineSettings(int fd, const CommSettings& settings);

} // namespace lumivert
