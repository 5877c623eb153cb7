// The command of the whole send, and how long the workbench waits for an answer.
#include "serial/comm_settings.h"
#include "transfer/console.h"
#include "transfer/reply_time_limit.h"

#include <gtest/gtest.h>

namespace lumivert {
namespace {

using std::chrono::milliseconds;

TEST(WholeCommandTest, JoinsTheTrimmedLinesAndEndsWithACarriageReturn) {
    EXPECT_EQ(wholeCommand({"AB", "  CD  "}), "ABCD\r");
    EXPECT_EQ(wholeCommand({}), "\r");
    EXPECT_EQ(wholeCommand({" ", "\t"}), "\r");
}

struct LineTimeCase {
    std::uint32_t baud;
    TParity parity;
    TStopBits stopBits;
    std::size_t bytes;
    milliseconds expected;
};

TEST(ReplyTimeLimitTest, AddsTheLineTimeOfTheBytesWritten) {
    const LineTimeCase cases[] = {
        {2400, TParity::None, TStopBits::_1, 1024, milliseconds(4267)},   // 10 bits a byte
        {2400, TParity::Even, TStopBits::_2, 1024, milliseconds(5120)},   // 12 bits
        {2400, TParity::None, TStopBits::_1_5, 1024, milliseconds(4480)}, // 10.5 bits
        {115200, TParity::None, TStopBits::_1, 1024, milliseconds(89)},
        {115200, TParity::None, TStopBits::_1, 12, milliseconds(2)},
        {256000, TParity::None, TStopBits::_1, 0, milliseconds(0)},
    };
    for (const auto& [baud, parity, stopBits, bytes, expected] : cases) {
        CommSettings settings = CommSettings::mainWindow();
        settings.BaudRate = baud;
        settings.Parity = parity;
        settings.StopBits = stopBits;
        EXPECT_EQ(lineTime(settings, bytes), expected) << baud << " baud, " << bytes << " bytes";
    }

    CommSettings settings = CommSettings::mainWindow();
    settings.BaudRate = 2400;
    EXPECT_EQ(replyTimeLimit(settings, 1024), milliseconds(5000 + 100 + 4267));
    settings.ReadIntervalTimeout = 5;
    EXPECT_EQ(replyTimeLimit(settings, 0), milliseconds(5005));
}

} // namespace
} // namespace lumivert
