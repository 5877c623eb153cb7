#include "serial/write_thread.h"

#include "serial/thread_priority.h"

#include <cerrno>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace lumivert {

TWriteThread::TWriteThread(const PortThreadLinks& links) : links_(links) {}

TWriteThread::~TWriteThread() {
    if (thread_.joinable()) {
        thread_.join();
    }
    requests_.close();
}

void TWriteThread::start() {
    thread_ = std::thread([this] { ThreadMain(); });
}

bool TWriteThread::post(DataBlock block) {
    const std::size_t size = block.size();
    unwritten_ += size;
    if (!requests_.post({std::move(block), 0})) {
        unwritten_ -= size;
        return false;
    }
    return true;
}

bool TWriteThread::drain(std::chrono::milliseconds most) {
    std::unique_lock lock(drainMutex_);
    const std::uint64_t asked = drainsAsked_ + 1;
    if (ended_ || !requests_.post({{}, asked})) {
        return false;
    }
    drainsAsked_ = asked;
    const bool done =
        drainDone_.wait_for(lock, most, [&] { return drainsDone_ >= asked || ended_; });
    return done && drainsDone_ >= asked;
}

void TWriteThread::ThreadMain() {
    raiseThreadPriority(1);
    try {
        serveRequests();
    } catch (...) {
        // An allocation failed: the component must learn that nothing more is sent.
        postHangupRequest();
    }
    requests_.close();
    endDrains();
    if (!lastDrained_) {
        ::tcflush(links_.port, TCOFLUSH);
    }
}

void TWriteThread::serveRequests() {
    bool writtenSinceNotice = true;
    for (;;) {
        // Cleared before taking, so that a block posted from here on wakes the wait below.
        requests_.wake().clear();
        while (auto request = requests_.tryTake()) {
            if (links_.stop.isSet() || !serve(*request)) {
                return;
            }
            writtenSinceNotice = writtenSinceNotice || request->drain == 0;
        }
        if (writtenSinceNotice) {
            links_.messages.post({CommMessageKind::SendDataEmpty, 0, {}});
            writtenSinceNotice = false;
        }
        switch (waitForStopOr(links_.stop, requests_.wake().descriptor(), POLLIN, std::nullopt)) {
        case PortWait::Ready:
        case PortWait::Timeout:
            break;
        case PortWait::Stop:
        case PortWait::Gone:
            return;
        case PortWait::Failed:
            postHangupRequest();
            return;
        }
    }
}

// Returns false when the writer is to end.
bool TWriteThread::serve(const Request& request) {
    if (request.drain != 0) {
        lastDrained_ = drainOutput();
        if (lastDrained_) {
            finishDrain(request.drain);
        }
        return lastDrained_;
    }
    lastDrained_ = false;
    const bool written = writeBlock(request.block);
    unwritten_ -= request.block.size();
    return written;
}

// Waits until the driver has put its output on the line. A driver that fails here has lost
// the device.
bool TWriteThread::drainOutput() {
    for (;;) {
        if (::tcdrain(links_.port) == 0) {
            return true;
        }
        if (errno != EINTR) {
            if (errno != EBADF) {
                postHangupRequest();
            }
            return false;
        }
    }
}

void TWriteThread::finishDrain(std::uint64_t drain) {
    {
        const std::lock_guard lock(drainMutex_);
        drainsDone_ = drain;
    }
    drainDone_.notify_all();
}

// The drains still waiting, and every later one, fail.
void TWriteThread::endDrains() {
    {
        const std::lock_guard lock(drainMutex_);
        ended_ = true;
    }
    drainDone_.notify_all();
}

// Writes the whole block; returns false when the writer is to end.
bool TWriteThread::writeBlock(const DataBlock& block) {
    std::size_t done = 0;
    while (done < block.size()) {
        const ssize_t written = ::write(links_.port, block.data() + done, block.size() - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0 && errno == EBADF) {
            return false;
        }
        if (written < 0 && errno != EAGAIN) {
            postHangupRequest();
            return false;
        }
        // The driver's output buffer is full: wait until it takes more.
        switch (waitForStopOr(links_.stop, links_.port, POLLOUT, std::nullopt)) {
        case PortWait::Ready:
        case PortWait::Timeout:
            break;
        case PortWait::Stop:
        case PortWait::Gone:
            return false;
        case PortWait::Failed:
            postHangupRequest();
            return false;
        }
    }
    return true;
}

void TWriteThread::postHangupRequest() {
    links_.messages.post({CommMessageKind::RequestHangup, 0, {}});
}

} // namespace lumivert
