#include "serial/read_timing.h"

#include <gtest/gtest.h>
#include <optional>

namespace lumivert::testing {
namespace {

using Clock = ReadTiming::Clock;
using std::chrono::milliseconds;

constexpr std::uint32_t kMax = 0xFFFFFFFF;

// A read of 4,096 bytes begun at t = 0; bytes arrive at the times given (ms). The deadline
// that follows, in ms after the start; -1 for none.
struct Case {
    const char* what;
    ReadTimeouts timeouts;
    std::vector<int> arrivals;
    long long deadline;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.what;
}

class ReadTimingTest : public ::testing::TestWithParam<Case> {};

TEST_P(ReadTimingTest, CompletesWhenTheDriverWould) {
    const Case& c = GetParam();
    const Clock::time_point start{};
    ReadTiming timing(c.timeouts, 4096, start);
    for (const int at : c.arrivals) {
        timing.bytesArrived(start + milliseconds(at));
    }
    const auto deadline = timing.deadline();
    if (c.deadline < 0) {
        EXPECT_FALSE(deadline);
    } else {
        ASSERT_TRUE(deadline);
        EXPECT_EQ(*deadline - start, milliseconds(c.deadline));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Timeouts, ReadTimingTest,
    ::testing::Values(
        Case{"interval waits for the first byte", {100, 0, 0}, {}, -1},
        Case{"interval runs from the last byte", {100, 0, 0}, {5, 30, 60}, 160},
        Case{"no timeouts: only a full read completes", {0, 0, 0}, {5, 30}, -1},
        Case{"total timeout from the start", {0, 2, 50}, {}, 2 * 4096 + 50},
        Case{"interval before the total", {100, 2, 50}, {10}, 110},
        Case{"total before the interval", {100, 0, 50}, {10}, 50},
        Case{"first bytes at once, no limit while none", {kMax, 0, 0}, {}, -1},
        Case{"first bytes at once", {kMax, 0, 0}, {25}, 25},
        Case{"first bytes at once, or none after the constant", {kMax, kMax, 300}, {}, 300},
        Case{"first bytes at once before the constant", {kMax, kMax, 300}, {40}, 40},
        Case{"a huge total stays in range", {0, kMax, kMax}, {}, 1'000'000'000'000}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

} // namespace
} // namespace lumivert::testing
