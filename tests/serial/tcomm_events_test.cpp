#include "serial/tcomm.h"
#include "tests/serial/comm_recorder.h"
#include "tests/support/pty_pair.h"

#include <gtest/gtest.h>
#include <thread>

namespace lumivert::testing {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

class TCommEventsTest : public ::testing::Test {
protected:
    TCommEventsTest() { comm.setCommName(pty.path()); }

    std::size_t count(CommMessageKind kind) const { return recorder.eventsOf(kind).size(); }

    bool write(const std::string& text) {
        return comm.WriteData(reinterpret_cast<const std::uint8_t*>(text.data()),
                              static_cast<std::uint16_t>(text.size()));
    }

    PtyPair pty;
    TComm comm{CommSettings::mainWindow()};
    CommRecorder recorder{comm};
};

// One notice right after the start; then one after a stretch of writes, however many were
// queued back to back. The peer reads nothing at first, so the first long write keeps the
// writer busy while the others queue up behind it.
TEST_F(TCommEventsTest, TheSendEmptyNoticeComesAfterStartAndAfterEachStretch) {
    comm.OpenPort();
    ASSERT_TRUE(recorder.pumpUntil([&] { return count(CommMessageKind::SendDataEmpty) == 1; }));

    const std::string longWrite(65535, 'L');
    ASSERT_TRUE(write(longWrite));
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(write("queued"));
    }
    comm.dispatchPending();
    EXPECT_EQ(count(CommMessageKind::SendDataEmpty), 1u) << "a notice while data was queued";

    EXPECT_EQ(pty.receive(65535 + 30, std::chrono::seconds(10)).size(), 65535u + 30);
    ASSERT_TRUE(recorder.pumpUntil([&] { return count(CommMessageKind::SendDataEmpty) == 2; }));

    ASSERT_TRUE(write("again"));
    ASSERT_TRUE(recorder.pumpUntil([&] { return count(CommMessageKind::SendDataEmpty) == 3; }));
}

// Closing never waits for the line: a write the peer does not take and a read that has
// collected bytes both end at once, and both threads with them.
TEST_F(TCommEventsTest, ClosingEndsBothThreadsWithAWriteAndAReadPending) {
    comm.OpenPort();
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(write(std::string(65535, 'W')));
    }
    pty.send("partial reply");
    comm.ClosePort();
    EXPECT_FALSE(comm.isOpen());
}

TEST_F(TCommEventsTest, ClosingEndsAReadWaitingWithoutLimit) {
    comm.setReadIntervalTimeout(0); // a read then completes only when it is full
    comm.OpenPort();
    pty.send("not enough to fill a read");
    comm.ClosePort();
    EXPECT_FALSE(comm.isOpen());
}

// The peer goes away while a read is pending: the component hears of it, bytes that came
// before are not lost, and closing afterwards works as always.
TEST_F(TCommEventsTest, APeerThatGoesAwayPostsTheHangupRequest) {
    comm.OpenPort();
    ASSERT_TRUE(recorder.pumpUntil([&] { return count(CommMessageKind::SendDataEmpty) == 1; }));
    pty.send("last words");
    ASSERT_TRUE(recorder.pumpUntilReceived(10));
    pty.closePeer();
    ASSERT_TRUE(recorder.pumpUntil([&] { return count(CommMessageKind::RequestHangup) >= 1; }));
    const auto received = recorder.received();
    EXPECT_EQ(std::string(received.begin(), received.end()), "last words");

    EXPECT_TRUE(comm.isOpen()) << "the component closed the port on its own";
    comm.ClosePort();
    EXPECT_FALSE(comm.isOpen());
}

// A write to a peer that has gone ends the writer: later writes are refused.
TEST_F(TCommEventsTest, AWriteToAPeerThatWentAwayEndsTheWriter) {
    comm.OpenPort();
    pty.closePeer();
    write("into the void");
    EXPECT_TRUE(recorder.pumpUntil(
        [&] { return !write("x") && count(CommMessageKind::RequestHangup) >= 1; }));
}

// A handler may close the port from inside the dispatch, as an owner acting on the hang-up
// request would; the events after it still come, in order.
TEST_F(TCommEventsTest, AHandlerMayCloseThePort) {
    comm.setOnRequestHangup([&](TComm& sender) { sender.ClosePort(); });
    comm.OpenPort();
    pty.closePeer();
    ASSERT_TRUE(recorder.pumpUntil([&] { return !comm.isOpen(); }));
}

// A handler that throws leaves the messages after it waiting, and the wake-up descriptor
// says so.
TEST_F(TCommEventsTest, AThrowingHandlerLosesNoLaterEvent) {
    comm.setReadIntervalTimeout(0); // a read completes only when it is full
    int calls = 0;
    std::string received;
    comm.setOnReceiveData([&](TComm&, const std::uint8_t* buffer, std::uint16_t length) {
        received.append(reinterpret_cast<const char*>(buffer), length);
        if (++calls == 1) {
            throw std::runtime_error("handler failed");
        }
    });
    comm.OpenPort();
    const std::string two = std::string(4096, '1') + std::string(4096, '2');
    pty.send(two);
    // The start notice and two full reads wait.
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (comm.eventsWaiting() < 3 && Clock::now() < end) {
        std::this_thread::yield();
    }
    ASSERT_EQ(comm.eventsWaiting(), 3u);
    EXPECT_THROW(comm.dispatchPending(), std::runtime_error);
    EXPECT_TRUE(comm.waitForEvents(milliseconds(0)));
    comm.dispatchPending();
    EXPECT_EQ(received, two);
}

} // namespace
} // namespace lumivert::testing
