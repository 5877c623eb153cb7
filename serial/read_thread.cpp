#include "serial/read_thread.h"

#include "serial/thread_priority.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace lumivert {
namespace {

constexpr auto kCounterLookInterval = std::chrono::milliseconds(100);

} // namespace

TReadThread::TReadThread(const PortThreadLinks& links, const SharedReadTimeouts& timeouts)
    : links_(links), timeouts_(timeouts) {}

TReadThread::~TReadThread() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void TReadThread::start() {
    thread_ = std::thread([this] { ThreadMain(); });
}

void TReadThread::ThreadMain() {
    raiseThreadPriority(2);
    try {
        counters_ = readLineCounters(links_.port);
        nextCounterLook_ = Clock::now() + kCounterLookInterval;
        while (readOnce()) {
        }
    } catch (...) {
        // An allocation failed: the component must learn that no more data comes.
        postHangupRequest();
    }
    ::tcflush(links_.port, TCIFLUSH);
}

// One read: returns whether the reader goes on.
bool TReadThread::readOnce() {
    ReadTiming timing(timeouts_.get(), kReadSize, Clock::now());
    const std::string replyEnd = timeouts_.replyEnd();
    std::size_t count = 0;
    for (;;) {
        const auto deadline = timing.deadline();
        if (deadline && Clock::now() >= *deadline) {
            break;
        }
        const PortWait wait = waitForStopOr(links_.stop, links_.port, POLLIN, nextWake(timing));
        if (counters_) {
            watchLineEvents();
        }
        if (wait == PortWait::Stop || wait == PortWait::Gone) {
            return false;
        }
        if (wait == PortWait::Failed) {
            postHangupRequest();
            return false;
        }
        if (wait == PortWait::Ready) {
            const Step step = readAvailable(timing, replyEnd, count);
            if (step == Step::End) {
                return false;
            }
            if (step == Step::Complete) {
                break;
            }
        }
    }
    return count == 0 || deliver(count);
}

// Reads what the driver holds into the read buffer after the `count` bytes already there.
TReadThread::Step TReadThread::readAvailable(ReadTiming& timing, const std::string& replyEnd,
                                             std::size_t& count) {
    const ssize_t got = ::read(links_.port, buffer_.data() + count, kReadSize - count);
    if (got > 0) {
        count += static_cast<std::size_t>(got);
        timing.bytesArrived(Clock::now());
        return count == kReadSize || endsWith(count, replyEnd) ? Step::Complete : Step::Continue;
    }
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
        return Step::Continue;
    }
    if (got < 0 && errno == EBADF) {
        return Step::End;
    }
    // End of file, a hang-up (EIO) or another error: the port is gone for good.
    if (count == 0 || deliver(count)) {
        postHangupRequest();
    }
    return Step::End;
}

// Whether the first `count` bytes of the read buffer end with `end` (never when it is empty).
bool TReadThread::endsWith(std::size_t count, const std::string& end) const {
    if (end.empty() || count < end.size()) {
        return false;
    }
    return std::equal(
        end.begin(), end.end(), buffer_.begin() + (count - end.size()),
        [](char expected, std::uint8_t got) { return static_cast<std::uint8_t>(expected) == got; });
}

// The read's deadline, or earlier when the line counters are due for a look.
std::optional<TReadThread::Clock::time_point>
TReadThread::nextWake(const ReadTiming& timing) const {
    const auto deadline = timing.deadline();
    if (!counters_) {
        return deadline;
    }
    return deadline ? std::min(*deadline, nextCounterLook_) : nextCounterLook_;
}

// Posts the `count` bytes in the read buffer as one block. Returns false when it could not.
bool TReadThread::deliver(std::size_t count) {
    CommMessage message{CommMessageKind::ReceiveData, static_cast<std::uint32_t>(count),
                        DataBlock::copyOf(buffer_.data(), count)};
    if (!links_.messages.post(std::move(message))) {
        postHangupRequest();
        return false;
    }
    return true;
}

void TReadThread::watchLineEvents() {
    const auto now = Clock::now();
    if (now < nextCounterLook_) {
        return;
    }
    nextCounterLook_ = now + kCounterLookInterval;
    const auto counters = readLineCounters(links_.port);
    if (!counters) {
        return;
    }
    const LineEvents events = lineEventsBetween(*counters_, *counters);
    counters_ = counters;
    if (events.errors != 0) {
        links_.messages.post({CommMessageKind::ReceiveError, events.errors, {}});
    }
    if (events.modem != 0) {
        links_.messages.post({CommMessageKind::ModemStateChange, events.modem, {}});
    }
}

void TReadThread::postHangupRequest() {
    links_.messages.post({CommMessageKind::RequestHangup, 0, {}});
}

} // namespace lumivert
