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

void TWriteThread::ThreadMain() {
    raiseThreadPriority(1);
    try {
        serveRequests();
    } catch (...) {
        // An allocation failed: the component must learn that nothing more is sent.
        postHangupRequest();
    }
    requests_.close();
    ::tcflush(links_.port, TCOFLUSH);
}

void TWriteThread::serveRequests() {
    bool writtenSinceNotice = true;
    for (;;) {
        // Cleared before taking, so that a block posted from here on wakes the wait below.
        requests_.wake().clear();
        while (auto block = requests_.tryTake()) {
            if (links_.stop.isSet() || !writeBlock(*block)) {
                return;
            }
            writtenSinceNotice = true;
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
