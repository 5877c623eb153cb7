#pragma once

#include "serial/data_block.h"
#include "serial/port_thread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
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
// A drain request waits in the queue like a block: once every block before it is written,
// the writer waits for the driver to put its output queue on the line (tcdrain) and reports
// it to the thread that asked (drain).
//
// It ends when the stop event is set (the rest of the block being written is dropped) or
// the port descriptor becomes invalid, silently, and on any other failure after posting
// RequestHangup. From its end on it refuses new blocks; it releases those still queued and
// discards the port's unsent output, unless its last work was a drain that succeeded: then
// nothing is left to discard on a serial line, and on a pseudo-terminal discarding would
// take back what the far end has not read yet.
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
    bool post(DataBlock block);

    // Blocks the calling thread until everything posted before has been written and the
    // driver has sent its output queue, for at most `most`. Returns whether that happened:
    // false when the time ran out, the driver failed or the writer has ended.
    bool drain(std::chrono::milliseconds most);

    // The bytes posted and not yet written whole.
    std::size_t unwrittenBytes() const { return unwritten_; }

private:
    // A block to write, or the drain request of that number (no block).
    struct Request {
        DataBlock block;
        std::uint64_t drain = 0;
    };

    void ThreadMain();
    void serveRequests();
    bool serve(const Request& request);
    bool writeBlock(const DataBlock& block);
    bool drainOutput();
    void finishDrain(std::uint64_t drain);
    void endDrains();
    void postHangupRequest();

    PortThreadLinks links_;
    MessageQueue<Request> requests_;
    std::atomic<std::size_t> unwritten_{0};
    std::mutex drainMutex_;
    std::condition_variable drainDone_;
    std::uint64_t drainsAsked_ = 0; // guarded by drainMutex_
    std::uint64_t drainsDone_ = 0;  // guarded by drainMutex_
    bool ended_ = false;            // guarded by drainMutex_
    bool lastDrained_ = false;      // writer thread only
    std::thread thread_;
};

} // namespace lumivert
