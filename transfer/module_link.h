#pragma once

#include "common/operation_host.h"
#include "serial/reply_flag.h"
#include "serial/tcomm.h"

namespace lumivert {

// What a transfer to the module works with: the open port, the flag its receive handler
// raises whenever bytes arrive, and the caller's host, which dispatches the port's events
// while the transfer waits (the window's event loop, the command line's wait loop).
struct ModuleLink {
    TComm& comm;
    ReplyFlag& replyFlag;
    OperationHost& host;
};

// How a transfer ended when it threw nothing: every step done, or stopped by its caller.
enum class TransferEnd { Finished, Cancelled };

} // namespace lumivert
