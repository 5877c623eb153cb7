#pragma once

#include "common/unique_fd.h"

#include <chrono>

namespace lumivert {

// An event one thread sets and another waits for, on an eventfd, so that it can be waited
// for with poll() beside other descriptors. Once set it stays set until cleared; setting it
// again changes nothing. Any thread may set it, test it or wait for it.
class WakeEvent {
public:
    // Throws std::system_error when the system has no descriptor left.
    WakeEvent();

    void set();
    void clear();
    bool isSet() const;

    // Waits until the event is set or `timeout` has passed (negative: no limit). Returns
    // whether it is set.
    bool wait(std::chrono::milliseconds timeout) const;

    // Readable while the event is set.
    int descriptor() const { return fd_.get(); }

private:
    UniqueFd fd_;
};

} // namespace lumivert
