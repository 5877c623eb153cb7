#pragma once

#include "serial/wake_event.h"

#include <deque>
#include <mutex>
#include <optional>
#include <utility>

namespace lumivert {

// A queue between threads: any thread posts, one thread takes, in posting order. The taking
// thread waits for the queue's wake event, which is set whenever a message is posted, with
// poll() beside its other descriptors. Closing the queue refuses every later post.
//
// To wait without missing a post, the taker clears the wake event before it takes what is
// queued: a message posted after the clearing sets the event again.
template <typename Message> class MessageQueue {
public:
    // Queues `message` and returns true; returns false, dropping it, once the queue is closed.
    bool post(Message message) {
        {
            const std::lock_guard lock(mutex_);
            if (closed_) {
                return false;
            }
            messages_.push_back(std::move(message));
        }
        wake_.set();
        return true;
    }

    std::optional<Message> tryTake() {
        const std::lock_guard lock(mutex_);
        if (messages_.empty()) {
            return std::nullopt;
        }
        Message message = std::move(messages_.front());
        messages_.pop_front();
        return message;
    }

    // Drops the waiting messages for which `unwanted` holds.
    template <typename Predicate> void discardIf(Predicate unwanted) {
        std::deque<Message> dropped; // released after the lock
        std::deque<Message> kept;
        const std::lock_guard lock(mutex_);
        for (auto& message : messages_) {
            (unwanted(message) ? dropped : kept).push_back(std::move(message));
        }
        messages_.swap(kept);
    }

    // How many messages wait.
    std::size_t size() const {
        const std::lock_guard lock(mutex_);
        return messages_.size();
    }

    // Refuses every later post and releases what is still queued.
    void close() {
        std::deque<Message> dropped;
        const std::lock_guard lock(mutex_);
        closed_ = true;
        dropped.swap(messages_);
    }

    WakeEvent& wake() { return wake_; }
    const WakeEvent& wake() const { return wake_; }

private:
    mutable std::mutex mutex_;
    std::deque<Message> messages_;
    bool closed_ = false;
    WakeEvent wake_;
};

} // namespace lumivert
