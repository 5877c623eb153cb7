#pragma once

#include "serial/line_events.h"
#include "serial/port_thread.h"
#include "serial/read_timing.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace lumivert {

// The read timeouts of an open port, and the reply end that also completes a read (none
// when empty). The component sets them on the user-interface thread; the reader takes them at
// the start of each read.
class SharedReadTimeouts {
public:
    void set(const ReadTimeouts& timeouts) {
        const std::lock_guard lock(mutex_);
        timeouts_ = timeouts;
    }
    ReadTimeouts get() const {
        const std::lock_guard lock(mutex_);
        return timeouts_;
    }
    void setReplyEnd(const std::string& replyEnd) {
        const std::lock_guard lock(mutex_);
        replyEnd_ = replyEnd;
    }
    std::string replyEnd() const {
        const std::lock_guard lock(mutex_);
        return replyEnd_;
    }

private:
    mutable std::mutex mutex_;
    ReadTimeouts timeouts_;
    std::string replyEnd_;
};

// The reader of an open port. It always has a read pending: each read collects up to 4,096
// bytes until ReadTiming completes it, or until they end with the reply end when one is set,
// and posts them as one ReceiveData message (a read
// that completes empty posts nothing and the next read begins). Where the driver keeps line
// counters, it looks at them every 100 ms and posts line
// errors (ReceiveError) before modem-line changes (ModemStateChange).
//
// It ends when the stop event is set or the port descriptor becomes invalid, silently, and
// on any other failure after posting RequestHangup: the port reports an error, the peer has
// gone away (end of file, hang-up), a wait or an allocation fails. Bytes it holds when the
// peer goes away are posted first. On its way out it discards the port's unread input.
class TReadThread {
public:
    static constexpr std::size_t kReadSize = 4096;

    TReadThread(const PortThreadLinks& links, const SharedReadTimeouts& timeouts);
    // Waits for the thread's end; the stop event must be set first.
    ~TReadThread();
    TReadThread(const TReadThread&) = delete;
    TReadThread& operator=(const TReadThread&) = delete;

    // Throws std::system_error when the thread cannot be created.
    void start();

private:
    using Clock = std::chrono::steady_clock;
    enum class Step { Continue, Complete, End };

    void ThreadMain();
    bool readOnce();
    Step readAvailable(ReadTiming& timing, const std::string& replyEnd, std::size_t& count);
    bool endsWith(std::size_t count, const std::string& end) const;
    std::optional<Clock::time_point> nextWake(const ReadTiming& timing) const;
    bool deliver(std::size_t count);
    void watchLineEvents();
    void postHangupRequest();

    PortThreadLinks links_;
    const SharedReadTimeouts& timeouts_;
    std::array<std::uint8_t, kReadSize> buffer_{};
    std::optional<LineCounters> counters_;
    Clock::time_point nextCounterLook_;
    std::thread thread_;
};

} // namespace lumivert
