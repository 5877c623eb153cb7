#pragma once

#include "common/operation_host.h"
#include "serial/tcomm.h"

namespace lumivert {

// The host of a transfer that has no event loop of its own (the command line, tests,
// benchmarks): it dispatches the port's events itself, blocking in the port's wait while the
// transfer waits for the module, and passes progress and cancelling on to `inner`.
class PortEventHost : public OperationHost {
public:
    explicit PortEventHost(TComm& comm) : PortEventHost(comm, noInner_) {}
    PortEventHost(TComm& comm, OperationHost& inner) : comm_(comm), inner_(inner) {}

    void pump() override {
        comm_.dispatchPending();
        inner_.pump();
    }

    void wait(std::chrono::milliseconds most) override {
        if (comm_.waitForEvents(most)) {
            comm_.dispatchPending();
        }
    }

    bool cancelled() override { return inner_.cancelled(); }

    void progress(std::int64_t done, std::int64_t total) override { inner_.progress(done, total); }

private:
    OperationHost noInner_;
    TComm& comm_;
    OperationHost& inner_;
};

} // namespace lumivert
