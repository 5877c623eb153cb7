#pragma once

#include "serial/data_block.h"

#include <cstdint>

namespace lumivert {

// What the reader and writer threads tell the port component. The numbers are those of the
// component's messages; each becomes one event on the user-interface thread.
enum class CommMessageKind : std::uint32_t {
    ReceiveData = 0x401,      // `block`: the bytes one read returned
    ReceiveError = 0x402,     // `value`: the line error flags (see line_events.h)
    RequestHangup = 0x403,    // a thread met a failure it cannot recover from
    ModemStateChange = 0x404, // `value`: 8 carrier detect changed, 4 ring
    SendDataEmpty = 0x405,    // the writer's queue ran empty
};

struct CommMessage {
    CommMessageKind kind;
    std::uint32_t value = 0;
    DataBlock block;
};

} // namespace lumivert
