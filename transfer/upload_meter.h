#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace lumivert {

// The figures of an upload that a user plans with: blocks done of blocks to send, bytes on
// the line per second, time left; and the summary at its end.
class UploadMeter {
public:
    using Clock = std::chrono::steady_clock;

    UploadMeter(std::int64_t blocksToSend, Clock::time_point start);

    // A block went, with the bytes of its command and its data.
    void blockSent(std::int64_t bytes) {
        ++blocksDone_;
        bytesSent_ += bytes;
    }

    std::int64_t blocksDone() const { return blocksDone_; }
    std::int64_t blocksToSend() const { return blocksToSend_; }
    std::int64_t bytesSent() const { return bytesSent_; }

    double bytesPerSecond(Clock::time_point now) const;
    // None until a block has gone.
    std::optional<std::chrono::seconds> timeLeft(Clock::time_point now) const;

    // "192 blocks, 199680 bytes, 17.3 s, 11542 bytes/s, 3 sectors skipped"
    std::string summary(Clock::time_point now, std::int64_t sectorsSkipped) const;

    // Whether the progress is due to be shown again: at most ten times a second, and always
    // for the first and the last block.
    bool showDue(Clock::time_point now);

private:
    double seconds(Clock::time_point now) const;

    std::int64_t blocksToSend_;
    std::int64_t blocksDone_ = 0;
    std::int64_t bytesSent_ = 0;
    Clock::time_point start_;
    std::optional<Clock::time_point> lastShown_;
};

} // namespace lumivert
