#pragma once

#include <memory>

namespace lumivert {

// While it lives, SIGINT, SIGTERM and SIGHUP end the run as closing the window does, whatever
// is open at the time: every dialog is closed (the start-up error dialog included), then the
// window, which cancels a long operation, and the event loop ends; the window's destruction
// then still writes the flash image and the lists back. A dialog that shows after the signal
// closes at once. The signals' previous actions come back when it goes.
class TerminationSignals {
public:
    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Whether a signal has asked the run to end.
    static bool requested();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace lumivert
