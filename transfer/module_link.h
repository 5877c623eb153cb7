#pragma once

#include "common/operation_host.h"
#include "transfer/module_channel.h"

namespace lumivert {

// What a transfer to the module works with: the channel of the open port, and the caller's
// host, which dispatches the port's events while the transfer waits (the window's event loop,
// the command line's wait loop).
struct ModuleLink {
    ModuleChannel& channel;
    OperationHost& host;
};

// How a transfer ended when it threw nothing: every step done, or stopped by its caller.
enum class TransferEnd { Finished, Cancelled };

} // namespace lumivert
