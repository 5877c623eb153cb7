#pragma once

#include "serial/comm_message.h"
#include "serial/message_queue.h"
#include "serial/wake_event.h"

#include <chrono>
#include <optional>

namespace lumivert {

// Where the reader and writer threads post their messages: the port component drains it on
// the user-interface thread.
using CommMessageQueue = MessageQueue<CommMessage>;

// What the component hands each of its threads before it starts: the open port, the stop
// event (set once, it ends both threads) and the queue the thread posts to. The thread
// works on these copies and never looks at the component; the component outlives it.
struct PortThreadLinks {
    int port;
    const WakeEvent& stop;
    CommMessageQueue& messages;
};

// How a thread's wait ended.
enum class PortWait {
    Stop,    // the stop event is set; it wins over everything else
    Ready,   // the descriptor is ready, or reports a hang-up or an error
    Timeout, // the deadline passed
    Gone,    // the descriptor is no longer valid: the thread ends without a report
    Failed,  // the wait itself failed
};

// Waits until the stop event is set or `fd` is ready for `events` (POLLIN or POLLOUT), or
// until `deadline` (none: no limit). Interrupted waits go on.
PortWait waitForStopOr(const WakeEvent& stop, int fd, short events,
                       std::optional<std::chrono::steady_clock::time_point> deadline);

} // namespace lumivert
