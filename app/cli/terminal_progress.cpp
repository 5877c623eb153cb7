#include "app/cli/terminal_progress.h"

#include <cmath>
#include <unistd.h>
#include <utility>

namespace lumivert {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

} // namespace

TerminalProgress::TerminalProgress(std::ostream& err, std::string label)
    : TerminalProgress(err, std::move(label), ::isatty(STDERR_FILENO) == 1) {}

TerminalProgress::TerminalProgress(std::ostream& err, std::string label, bool toTerminal)
    : err_(err), label_(std::move(label)), toTerminal_(toTerminal) {}

TerminalProgress::~TerminalProgress() {
    if (drawn_) {
        err_ << '\n' << std::flush;
    }
}

void TerminalProgress::progress(std::int64_t done, std::int64_t total) {
    if (!toTerminal_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    const bool finished = done >= total;
    if (drawn_ && !finished && now - lastDrawn_ < kRedrawInterval) {
        return;
    }
    const std::int64_t percent = total > 0 ? done * 100 / total : 100;
    err_ << '\r' << label_ << ' ' << done << '/' << total << "  " << percent << '%';
    if (!rate_.empty()) {
        // The rate's text may be shorter than the one it overwrites.
        err_ << rate_ << "\033[K";
    }
    err_ << std::flush;
    drawn_ = true;
    lastDrawn_ = now;
}

void TerminalProgress::throughput(double bytesPerSecond,
                                  std::optional<std::chrono::seconds> timeLeft) {
    rate_ = "  " + std::to_string(std::llround(bytesPerSecond)) + " B/s";
    if (timeLeft) {
        const auto seconds = timeLeft->count();
        rate_ += "  " + std::to_string(seconds / 60) + (seconds % 60 < 10 ? ":0" : ":") +
                 std::to_string(seconds % 60) + " left";
    }
}

void TerminalProgress::clearLine() {
    if (drawn_) {
        err_ << "\r\033[K" << std::flush;
        drawn_ = false;
    }
}

} // namespace lumivert
