#pragma once

#include "serial/tcomm.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace lumivert::testing {

// Records every event a component raises, with the moment and the thread it ran on.
class CommRecorder {
public:
    using Clock = std::chrono::steady_clock;

    struct Event {
        CommMessageKind kind;
        std::vector<std::uint8_t> bytes; // ReceiveData
        std::uint32_t value = 0;         // ReceiveError, ModemStateChange
        Clock::time_point at;
        std::thread::id thread;
    };

    explicit CommRecorder(TComm& comm);

    // Dispatches the component's events, as a command-line wait loop does, until `done`
    // holds or `timeout` has passed. Returns whether `done` holds.
    bool pumpUntil(const std::function<bool()>& done,
                   std::chrono::milliseconds timeout = std::chrono::seconds(5));

    // Until `count` received bytes are in.
    bool pumpUntilReceived(std::size_t count,
                           std::chrono::milliseconds timeout = std::chrono::seconds(5));

    std::vector<std::uint8_t> received() const;
    std::vector<const Event*> eventsOf(CommMessageKind kind) const;

    std::vector<Event> events;
    std::size_t receivedCount = 0;

private:
    void record(Event event);

    TComm& comm_;
};

} // namespace lumivert::testing
