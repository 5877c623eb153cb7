#include "serial/line_events.h"

#include <gtest/gtest.h>

namespace lumivert::testing {
namespace {

// Pseudo-terminals keep no line counters, so the reader's events are checked on the
// translation from two readings of the counters.
TEST(LineEventsTest, CounterChangesBecomeErrorFlagsAndModemBits) {
    const LineCounters before{3, 3, 3, 3, 3, 3, 3};
    struct Case {
        std::uint64_t LineCounters::*counter;
        LineEvents expected;
    };
    const std::vector<Case> cases = {
        {&LineCounters::bufferOverrun, {CE_RXOVER, 0}},
        {&LineCounters::overrun, {CE_OVERRUN, 0}},
        {&LineCounters::parity, {CE_RXPARITY, 0}},
        {&LineCounters::frame, {CE_FRAME, 0}},
        {&LineCounters::breaks, {CE_BREAK, 0}},
        {&LineCounters::carrierDetect, {0, 8}},
        {&LineCounters::ring, {0, 4}},
    };
    for (const auto& [counter, expected] : cases) {
        LineCounters after = before;
        after.*counter += 2;
        const LineEvents events = lineEventsBetween(before, after);
        EXPECT_EQ(events.errors, expected.errors);
        EXPECT_EQ(events.modem, expected.modem);
    }

    LineCounters all = before;
    all.frame = 0; // the driver's counter wrapped
    all.carrierDetect = 4;
    all.ring = 9;
    const LineEvents events = lineEventsBetween(before, all);
    EXPECT_EQ(events.errors, CE_FRAME);
    EXPECT_EQ(events.modem, 12u);
    EXPECT_EQ(lineEventsBetween(before, before).errors, 0u);
    EXPECT_EQ(lineEventsBetween(before, before).modem, 0u);
}

} // namespace
} // namespace lumivert::testing
