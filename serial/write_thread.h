#pragma once

#include "serial/data_block.h"
#include "serial/port_thread.h"

#include <thread>

namespace lumivert {

// The writer of an open port. It takes the blocks posted to it in order and writes each one
// whole before it takes the next, so the bytes of two requests never mix on the line. A
// write the line does not take at once goes on with the rest as soon as the driver has
// room; that is what the port's write timeouts come to on this platform, where a write cut
// short by them is carried on with the rest in order, so they need no timer of their own.
//
// It posts SendDataEmpty once right after it starts and then each time its queue has run
// empty after at least one block was written (several blocks queued back to back give one
// notice after the last).
//
// It ends when the stop event is set (the rest of the block being written is dropped) or
// the port descriptor becomes invalid, silently, and on any other failure after posting
// RequestHangup. From its end on it refuses new blocks; it releases those still queued and
// discards the port's unsent output.
class TWriteThread {
public:
    explicit TWriteThread(const PortThreadLinks& links);
    // Waits for the thread's end; the stop event must be set first.
    ~TWriteThread();
    TWriteThread(const TWriteThread&) = delete;
    TWriteThread& operator=(const TWriteThread&) = delete;

    // Throws std::system_error when the thread cannot be created.
    void start();

    // Queues `block` to be written; false, releasing it, once the writer has ended. Any
    // thread may call it.
    bool post(DataBlock block) { return requests_.post(std::move(block)); }

private:
    void ThreadMain();
    void serveRequests();
    bool writeBlock(const DataBlock& block);
    void postHangupRequest();

    PortThreadLinks links_;
    MessageQueue<DataBlock> requests_;
    std::thread thread_;
};

} // namespace lumivert
