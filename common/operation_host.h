#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace lumivert {

// What a long operation (a font generation, the batch picture conversion, an upload, a
// console send) gets from its caller. The operation calls `progress` and then `pump` between
// its steps and stops at the next step once `cancelled` says so. The window processes its
// pending events in `pump`; the command line draws its progress line. The defaults do
// nothing, so a test can pass a plain OperationHost.
class OperationHost {
public:
    OperationHost() = default;
    virtual ~OperationHost() = default;
    OperationHost(const OperationHost&) = delete;
    OperationHost& operator=(const OperationHost&) = delete;

    // Between two steps: lets the caller's world move on.
    virtual void pump() {}

    // While the operation waits for something from outside (the module's answer): lets the
    // caller's world move on, blocking until something has happened or `most` has passed,
    // so that a wait does not keep a processor busy. It may return early; the operation
    // checks what it waits for and calls again. Without an override it is `pump`.
    virtual void wait(std::chrono::milliseconds /*most*/) { pump(); }

    // Whether the caller wants the operation to stop.
    virtual bool cancelled() { return false; }

    // `done` of `total` steps are behind the operation.
    virtual void progress(std::int64_t /*done*/, std::int64_t /*total*/) {}

    // How fast the operation goes, for an operation that moves bytes (an upload): bytes per
    // second so far, and the time it still needs when that can be told.
    virtual void throughput(double /*bytesPerSecond*/,
                            std::optional<std::chrono::seconds> /*timeLeft*/) {}
};

} // namespace lumivert
