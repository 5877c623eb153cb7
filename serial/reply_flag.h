#pragma once

namespace lumivert {

// The flag a sender waits on for the module's answer. The receive handler raises it whenever
// bytes arrive, whatever they are. A sender lowers it around its write, with no event
// dispatched in between, and then lets events be dispatched until it is raised again. Only
// the user-interface thread touches it.
class ReplyFlag {
public:
    void raise() { value_ = 1; }
    void lower() { value_ = 0; }
    bool raised() const { return value_ == 1; }

private:
    int value_ = 0;
};

} // namespace lumivert
