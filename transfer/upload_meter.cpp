#include "transfer/upload_meter.h"

#include <cmath>
#include <cstdio>

namespace lumivert {
namespace {

constexpr auto kShowInterval = std::chrono::milliseconds(100);

std::string oneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

} // namespace

UploadMeter::UploadMeter(std::int64_t blocksToSend, Clock::time_point start)
    : blocksToSend_(blocksToSend), start_(start) {}

double UploadMeter::seconds(Clock::time_point now) const {
    return std::chrono::duration<double>(now - start_).count();
}

double UploadMeter::bytesPerSecond(Clock::time_point now) const {
    const double elapsed = seconds(now);
    return elapsed > 0 ? static_cast<double>(bytesSent_) / elapsed : 0.0;
}

std::optional<std::chrono::seconds> UploadMeter::timeLeft(Clock::time_point now) const {
    if (blocksDone_ == 0) {
        return std::nullopt;
    }
    const double perBlock = seconds(now) / static_cast<double>(blocksDone_);
    const double left = perBlock * static_cast<double>(blocksToSend_ - blocksDone_);
    return std::chrono::seconds(static_cast<std::int64_t>(std::ceil(left)));
}

std::string UploadMeter::summary(Clock::time_point now, std::int64_t sectorsSkipped) const {
    return std::to_string(blocksDone_) + (blocksDone_ == 1 ? " block, " : " blocks, ") +
           std::to_string(bytesSent_) + " bytes, " + oneDecimal(seconds(now)) + " s, " +
           std::to_string(std::llround(bytesPerSecond(now))) + " bytes/s, " +
           std::to_string(sectorsSkipped) + (sectorsSkipped == 1 ? " sector" : " sectors") +
           " skipped";
}

bool UploadMeter::showDue(Clock::time_point now) {
    const bool due =
        !lastShown_ || blocksDone_ >= blocksToSend_ || now - *lastShown_ >= kShowInterval;
    if (due) {
        lastShown_ = now;
    }
    return due;
}

} // namespace lumivert
