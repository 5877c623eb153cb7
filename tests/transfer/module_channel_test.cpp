// The module's channel on a real port: what counts as the module's answer, with and without
// a reply end, and a port that goes away.
#include "tests/support/pty_pair.h"
#include "transfer/module_channel.h"
#include "transfer/port_event_host.h"
#include "transfer/reply_exchange.h"
#include "transfer/transfer_error.h"

#include <gtest/gtest.h>

namespace lumivert::testing {
namespace {

using std::chrono::milliseconds;

class ModuleChannelTest : public ::testing::Test {
protected:
    explicit ModuleChannelTest() {
        comm.setCommName(pty.path());
        comm.setReadIntervalTimeout(5);
        channel.setOnReceived([this](const std::uint8_t*, std::uint16_t) { ++deliveries; });
    }

    // Sends `bytes` from the module's side and dispatches until they have been delivered.
    void deliver(const std::string& bytes) {
        const int before = deliveries;
        pty.send(bytes);
        ASSERT_TRUE(dispatchUntil([&] { return deliveries > before; }));
    }

    bool dispatchUntil(const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            if (comm.waitForEvents(milliseconds(50))) {
                comm.dispatchPending();
            }
        }
        return true;
    }

    PtyPair pty;
    TComm comm{CommSettings::mainWindow()};
    ModuleChannel channel{comm};
    int deliveries = 0;
};

TEST_F(ModuleChannelTest, WithoutAReplyEndAnyBytesAnswer) {
    channel.openPort();
    channel.expectAnswer();
    EXPECT_FALSE(channel.answered());
    deliver("O");
    EXPECT_TRUE(channel.answered());
    deliver("K");
    EXPECT_EQ(channel.counts().exchanges, 1);
    EXPECT_EQ(channel.counts().deliveries, 2);
    EXPECT_TRUE(answersOutnumberExchanges(channel.counts(), false));
}

// An answer in pieces, the reply end itself split between two of them, is one answer; what
// came before the exchange does not answer it.
TEST_F(ModuleChannelTest, WithAReplyEndOnlyAnAnswerThatHoldsItAnswers) {
    channel.setReplyEnd("\r\n");
    channel.openPort();
    deliver("late\r\n");
    channel.expectAnswer();
    deliver("O");
    EXPECT_FALSE(channel.answered());
    EXPECT_TRUE(channel.answerIncomplete());
    deliver("K\r");
    EXPECT_FALSE(channel.answered());
    deliver("\n");
    EXPECT_TRUE(channel.answered());
    EXPECT_FALSE(channel.answerIncomplete());
    EXPECT_EQ(channel.counts().framedAnswers, 2);
    EXPECT_EQ(channel.counts().deliveries, 4);
    EXPECT_TRUE(answersOutnumberExchanges(channel.counts(), true));

    channel.expectAnswer();
    EXPECT_FALSE(answersOutnumberExchanges(channel.counts(), true));
}

TEST_F(ModuleChannelTest, APortThatGoesAwayIsLostUntilItOpensAgain) {
    int lost = 0;
    channel.setOnPortLost([&] { ++lost; });
    channel.openPort();
    pty.closePeer();
    ASSERT_TRUE(dispatchUntil([&] { return channel.portLost(); }));
    EXPECT_EQ(lost, 1);
    comm.ClosePort();

    PtyPair next;
    comm.setCommName(next.path());
    channel.openPort();
    EXPECT_FALSE(channel.portLost());
}

// A host whose first wait sees the module's side of the line go away.
class UnpluggingHost : public PortEventHost {
public:
    UnpluggingHost(TComm& comm, PtyPair& pty) : PortEventHost(comm), pty_(pty) {}

    void wait(milliseconds most) override {
        pty_.closePeer();
        PortEventHost::wait(most);
    }

private:
    PtyPair& pty_;
};

// The exchange ends as soon as the hang-up is dispatched, naming the port, not the module.
TEST_F(ModuleChannelTest, AnExchangeOnAPortThatGoesAwayEndsNamingThePort) {
    channel.openPort();
    UnpluggingHost host(comm, pty);
    ModuleLink link{channel, host};
    try {
        exchangeWithModule(link, std::string("CLS(0);\r"), "CLS(0);");
        FAIL() << "the exchange went on without its port";
    } catch (const TransferError& error) {
        EXPECT_EQ(error.what(), "串口已断开：" + pty.path());
    }
    try {
        exchangeWithModule(link, std::string("CLS(0);\r"), "CLS(0);");
        FAIL() << "a lost port took another exchange";
    } catch (const TransferError& error) {
        EXPECT_EQ(error.what(), "串口已断开：" + pty.path());
    }
}

} // namespace
} // namespace lumivert::testing
