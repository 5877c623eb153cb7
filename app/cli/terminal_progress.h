#pragma once

#include "common/operation_host.h"

#include <chrono>
#include <ostream>
#include <string>

namespace lumivert {

// The command line's host for a long operation: a progress line ("<label> 512/8178  6%") on
// standard error while the operation runs, redrawn at most ten times a second, and only when
// standard error is a terminal. An operation that moves bytes adds its rate and the time it
// still needs ("upload 37/192  19%  11520 B/s  0:16 left"). A command-line operation is never
// cancelled: an interrupt ends the program before the image store is written back.
class TerminalProgress : public OperationHost {
public:
    TerminalProgress(std::ostream& err, std::string label);
    TerminalProgress(std::ostream& err, std::string label, bool toTerminal);
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void progress(std::int64_t done, std::int64_t total) override;
    // Shown with the next progress line.
    void throughput(double bytesPerSecond, std::optional<std::chrono::seconds> timeLeft) override;

    bool toTerminal() const { return toTerminal_; }

    // Erases the progress line so that other output can take its place; the next progress
    // call draws it again.
    void clearLine();

private:
    std::ostream& err_;
    std::string label_;
    bool toTerminal_;
    std::string rate_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point lastDrawn_;
};

} // namespace lumivert
