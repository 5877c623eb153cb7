// Draining the port before it closes, and reads completed by a reply end.
#include "serial/tcomm.h"
#include "tests/serial/comm_recorder.h"
#include "tests/support/pty_pair.h"

#include <gtest/gtest.h>
#include <numeric>

namespace lumivert::testing {
namespace {

using std::chrono::milliseconds;

std::vector<std::uint8_t> countingBytes(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes;
}

class TCommDrainTest : public ::testing::Test {
protected:
    TCommDrainTest() {
        comm.setCommName(pty.path());
        comm.setBaudRate(115200);
    }

    void write(const std::vector<std::uint8_t>& bytes, std::size_t piece) {
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            const std::size_t length = std::min(piece, bytes.size() - at);
            ASSERT_TRUE(comm.WriteData(bytes.data() + at, static_cast<std::uint16_t>(length)));
        }
    }

    PtyPair pty;
    TComm comm{CommSettings::mainWindow()};
};

// Closing discards unsent output; once drained nothing is unsent, and the far end still reads
// every byte after the close.
TEST_F(TCommDrainTest, ADrainedPortClosesWithoutLosingABit) {
    comm.OpenPort();
    const auto bytes = countingBytes(3000);
    write(bytes, 1000);
    ASSERT_TRUE(comm.drainOutput(std::chrono::seconds(5)));
    EXPECT_EQ(comm.unsentBytes(), 0u);
    comm.ClosePort();
    EXPECT_EQ(pty.receive(bytes.size(), std::chrono::seconds(5)), bytes);
}

// A far end that takes nothing: the drain gives up at its bound, and what the writer still
// holds is counted.
TEST_F(TCommDrainTest, ADrainGivesUpWhenTheLineTakesNothing) {
    comm.OpenPort();
    const auto bytes = countingBytes(300000);
    write(bytes, 60000);
    EXPECT_FALSE(comm.drainOutput(milliseconds(200)));
    EXPECT_GT(comm.unsentBytes(), 0u);
    EXPECT_LE(comm.unsentBytes(), bytes.size());
}

TEST_F(TCommDrainTest, AClosedPortHasNothingToDrain) {
    comm.OpenPort();
    comm.ClosePort();
    EXPECT_FALSE(comm.drainOutput(milliseconds(100)));
    EXPECT_EQ(comm.unsentBytes(), 0u);
}

// With a read interval no test would wait for, bytes ending with the reply end are delivered
// all the same.
TEST_F(TCommDrainTest, AReadEndsAsSoonAsItsBytesEndWithTheReplyEnd) {
    CommRecorder recorder(comm);
    comm.setReadIntervalTimeout(600000);
    comm.setReplyEnd("\r\n");
    comm.OpenPort();
    pty.send(std::string("OK\r\n"));
    ASSERT_TRUE(recorder.pumpUntilReceived(4));
    EXPECT_EQ(recorder.received(), (std::vector<std::uint8_t>{'O', 'K', '\r', '\n'}));
}

} // namespace
} // namespace lumivert::testing
