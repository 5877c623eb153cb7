#pragma once

#include "serial/comm_settings.h"

#include <chrono>
#include <cstddef>

namespace lumivert {

// How long `bytes` bytes take on the line at the port's speed and framing (a start bit, the
// data bits, a parity bit when there is parity, the stop bits); rounded up.
std::chrono::milliseconds lineTime(const CommSettings& settings, std::size_t bytes);

// How long a sender waits for the module's answer after writing `bytes` bytes before it
// gives up: 5 s for the module, the read interval after which the answer's last byte is
// delivered, and the time the written bytes take on the line (1,024 bytes take 4.3 s at
// 2400 baud).
std::chrono::milliseconds replyTimeLimit(const CommSettings& settings, std::size_t bytes);

// How long a sender still takes in what arrives after its last answer, the rest of an answer
// that came in pieces: two read intervals and 50 ms, once.
std::chrono::milliseconds lateAnswerTime(const CommSettings& settings);

} // namespace lumivert
