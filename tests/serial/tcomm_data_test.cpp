#include "serial/tcomm.h"
#include "tests/serial/comm_recorder.h"
#include "tests/support/pty_pair.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <thread>

namespace lumivert::testing {
namespace {

std::vector<std::uint8_t> allByteValues() {
    std::vector<std::uint8_t> bytes(256);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes;
}

std::vector<std::uint8_t> randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> bytes(count);
    std::generate(bytes.begin(), bytes.end(),
                  [&] { return static_cast<std::uint8_t>(byte(generator)); });
    return bytes;
}

// An open component with the main window's settings on one side of a pseudo-terminal.
class TCommDataTest : public ::testing::Test {
protected:
    TCommDataTest() {
        comm.setCommName(pty.path());
        comm.setBaudRate(115200);
    }

    bool write(const std::vector<std::uint8_t>& bytes) {
        return comm.WriteData(bytes.data(), static_cast<std::uint16_t>(bytes.size()));
    }

    PtyPair pty;
    TComm comm{CommSettings::mainWindow()};
    CommRecorder recorder{comm};
};

TEST_F(TCommDataTest, EveryByteValuePassesUnchangedBothWays) {
    comm.OpenPort();
    const auto bytes = allByteValues();
    ASSERT_TRUE(write(bytes));
    EXPECT_EQ(pty.receive(256, std::chrono::seconds(5)), bytes);

    pty.send(bytes);
    ASSERT_TRUE(recorder.pumpUntilReceived(256));
    EXPECT_EQ(recorder.received(), bytes);
}

TEST_F(TCommDataTest, WriteDataRefusesNothingToSendAndAClosedPort) {
    const std::uint8_t byte = 'x';
    EXPECT_FALSE(comm.WriteData(&byte, 1)) << "closed";
    comm.OpenPort();
    EXPECT_FALSE(comm.WriteData(&byte, 0)) << "length 0";
    EXPECT_TRUE(comm.WriteData(&byte, 1));
    comm.ClosePort();
    EXPECT_FALSE(comm.WriteData(&byte, 1)) << "closed again";
}

TEST_F(TCommDataTest, TheCallersBufferCanBeReusedAtOnce) {
    comm.OpenPort();
    std::vector<std::uint8_t> buffer(1024);
    std::vector<std::uint8_t> expected;
    for (std::uint8_t round = 0; round < 8; ++round) {
        std::fill(buffer.begin(), buffer.end(), round);
        ASSERT_TRUE(write(buffer));
        expected.insert(expected.end(), buffer.begin(), buffer.end());
    }
    std::fill(buffer.begin(), buffer.end(), 0xEE);
    EXPECT_EQ(pty.receive(expected.size(), std::chrono::seconds(5)), expected);
}

// The peer reads while the writes are queued, so several are pending at a time: each call's
// bytes must go out whole and in order.
TEST_F(TCommDataTest, ManyWritesOfVariedLengthsArriveCompleteAndInOrder) {
    comm.OpenPort();
    std::vector<std::uint8_t> expected;
    std::mt19937 generator(8);
    std::uniform_int_distribution<int> length(1, 700);
    for (int call = 0; call < 1000; ++call) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length(generator)),
                                        static_cast<std::uint8_t>(call));
        ASSERT_TRUE(write(bytes));
        expected.insert(expected.end(), bytes.begin(), bytes.end());
    }
    EXPECT_EQ(pty.receive(expected.size(), std::chrono::seconds(20)), expected);
}

TEST_F(TCommDataTest, TheLongestWriteArrivesWhole) {
    comm.OpenPort();
    const auto bytes = randomBytes(65535, 1);
    ASSERT_TRUE(write(bytes));
    EXPECT_EQ(pty.receive(bytes.size(), std::chrono::seconds(10)), bytes);
}

// A reply whose pieces come closer together than the read interval is one delivery: each
// piece is sent once the port has read the one before, far within a read interval of a second.
TEST_F(TCommDataTest, PiecesWithinTheReadIntervalAreOneDelivery) {
    comm.setReadIntervalTimeout(1000);
    comm.OpenPort();
    for (const char* part : {"O", "K", "\r\n"}) {
        pty.send(part);
        ASSERT_TRUE(pty.waitUntilRead(std::chrono::seconds(10)));
    }
    ASSERT_TRUE(recorder.pumpUntilReceived(4));
    const auto data = recorder.eventsOf(CommMessageKind::ReceiveData);
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data[0]->bytes, (std::vector<std::uint8_t>{'O', 'K', '\r', '\n'}));
}

// Bytes that come after a delivery are the next one.
TEST_F(TCommDataTest, BytesAfterADeliveryAreTheNext) {
    comm.setReadIntervalTimeout(5);
    comm.OpenPort();
    pty.send("A");
    ASSERT_TRUE(recorder.pumpUntilReceived(1));
    pty.send("B");
    ASSERT_TRUE(recorder.pumpUntilReceived(2));
    const auto data = recorder.eventsOf(CommMessageKind::ReceiveData);
    ASSERT_EQ(data.size(), 2u);
    EXPECT_EQ(data[0]->bytes, std::vector<std::uint8_t>{'A'});
    EXPECT_EQ(data[1]->bytes, std::vector<std::uint8_t>{'B'});
}

// A burst longer than one read comes as several events of at most 4,096 bytes, complete
// and in order, each raised on the thread that dispatches.
TEST_F(TCommDataTest, LongBurstsArriveCompleteInEventsOfAtMost4096Bytes) {
    comm.setReadIntervalTimeout(20);
    comm.OpenPort();
    for (const std::size_t size : {std::size_t{10'000}, std::size_t{1} << 20}) {
        recorder.events.clear();
        recorder.receivedCount = 0;
        const auto bytes = randomBytes(size, static_cast<unsigned>(size));
        std::thread peer([&] { pty.send(bytes); });
        const bool complete = recorder.pumpUntilReceived(size, std::chrono::seconds(30));
        peer.join();
        ASSERT_TRUE(complete) << size;
        EXPECT_EQ(recorder.received(), bytes) << size;
        for (const auto* event : recorder.eventsOf(CommMessageKind::ReceiveData)) {
            EXPECT_LE(event->bytes.size(), TReadThread::kReadSize);
        }
        EXPECT_GE(recorder.eventsOf(CommMessageKind::ReceiveData).size(),
                  (size + TReadThread::kReadSize - 1) / TReadThread::kReadSize);
        for (const auto& event : recorder.events) {
            EXPECT_EQ(event.thread, std::this_thread::get_id());
        }
    }
}

// Received blocks are released after their event, or at once without a handler; the leak
// checker of the sanitizer build would see one that is not.
TEST_F(TCommDataTest, ReceivedBlocksAreReleasedWithAndWithoutAHandler) {
    comm.setReadIntervalTimeout(5);
    std::size_t seen = 0;
    comm.setOnReceiveData([&](TComm&, const std::uint8_t* buffer, std::uint16_t length) {
        EXPECT_EQ(buffer[length], 0) << "a block ends with one zero byte";
        seen += length;
    });
    comm.OpenPort();
    pty.send(randomBytes(5000, 4));
    ASSERT_TRUE(recorder.pumpUntil([&] { return seen == 5000; }));

    // Without a handler the blocks go at once. The peer then goes away: its hang-up request
    // comes after every byte it sent.
    comm.setOnReceiveData({});
    pty.send(randomBytes(5000, 3));
    pty.closePeer();
    ASSERT_TRUE(recorder.pumpUntil(
        [&] { return !recorder.eventsOf(CommMessageKind::RequestHangup).empty(); }));
    EXPECT_EQ(seen, 5000u);
}

} // namespace
} // namespace lumivert::testing
