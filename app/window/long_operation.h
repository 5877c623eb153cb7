#pragma once

#include "common/operation_host.h"

namespace lumivert {

class TForm3;

// A long operation of the window (a generation, the batch conversion, an upload, a console
// send) for as long as this object lives. It runs on the user-interface thread and processes
// the window's pending events between its steps, so the window stays live and received data
// keeps appearing. Meanwhile every control that would start another long operation or move
// the shared cursors is disabled; afterwards each is back in its state. Closing the window
// cancels the operation; the window's shutdown then still saves.
//
// Operations may nest (the batch conversion converts each picture as the single conversion
// does); only the outermost one locks and unlocks the controls.
class LongOperation : public OperationHost {
public:
    explicit LongOperation(TForm3& form);
    ~LongOperation() override;
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

    void pump() override;
    // Processes the window's events as they come, for at most `most`: returns after the
    // first that arrive, so a reply wait is woken by the port's event (or the port or the
    // window being closed) without keeping a processor busy.
    void wait(std::chrono::milliseconds most) override;
    bool cancelled() override;

private:
    TForm3& form_;
};

} // namespace lumivert
