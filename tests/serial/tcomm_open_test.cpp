#include "serial/port_device.h"
#include "serial/tcomm.h"
#include "tests/serial/comm_recorder.h"
#include "tests/support/pty_pair.h"
#include "tests/support/temp_folder.h"

#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace lumivert::testing {
namespace {

const std::string kOpenFailed = "打开串口出错\r\n此串口不存在或被占用";

std::string openFailure(TComm& comm) {
    try {
        comm.OpenPort();
    } catch (const ECommsError& error) {
        return error.what();
    }
    return "opened";
}

TEST(TCommOpenTest, OpensClosesAndReopens) {
    PtyPair pty;
    TComm comm;
    comm.setCommName(pty.path());
    EXPECT_FALSE(comm.isOpen());
    comm.ClosePort(); // closed already: nothing

    comm.OpenPort();
    EXPECT_TRUE(comm.isOpen());
    EXPECT_EQ(openFailure(comm), "此串口已经打开");
    EXPECT_TRUE(comm.isOpen()) << "a second opening changed the open port";

    comm.ClosePort();
    EXPECT_FALSE(comm.isOpen());
    comm.ClosePort();
    EXPECT_FALSE(comm.isOpen());

    comm.OpenPort();
    CommRecorder recorder(comm);
    pty.send("reopened");
    ASSERT_TRUE(recorder.pumpUntilReceived(8));
    EXPECT_EQ(recorder.received(),
              std::vector<std::uint8_t>({'r', 'e', 'o', 'p', 'e', 'n', 'e', 'd'}));
}

TEST(TCommOpenTest, ANameWithoutSlashIsADeviceUnderDev) {
    EXPECT_EQ(portDevicePath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(portDevicePath("/dev/pts/3"), "/dev/pts/3");
}

// Every failed opening leaves the component closed and ready to open another port.
TEST(TCommOpenTest, AFailedOpeningLeavesTheComponentUsable) {
    TempFolder folder;
    const std::string plainFile = (folder / "plain").string();
    std::ofstream(plainFile) << "not a terminal";
    PtyPair pty;
    TComm holder;
    holder.setCommName(pty.path());
    holder.OpenPort();

    struct Case {
        std::string name;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"", kOpenFailed},
        {(folder / "missing").string(), kOpenFailed},
        {"lumivert-no-such-port", kOpenFailed},
        {pty.path(), kOpenFailed}, // held by another component
        {plainFile, "初始化缓冲区出错"},
    };
    PtyPair free;
    TComm comm;
    for (const auto& [name, message] : cases) {
        comm.setCommName(name);
        EXPECT_EQ(openFailure(comm), message) << name;
        EXPECT_FALSE(comm.isOpen()) << name;
        EXPECT_FALSE(comm.WriteData(reinterpret_cast<const std::uint8_t*>("x"), 1)) << name;

        comm.setCommName(free.path());
        comm.OpenPort();
        EXPECT_TRUE(comm.WriteData(reinterpret_cast<const std::uint8_t*>("x"), 1)) << name;
        EXPECT_EQ(free.receive(1, std::chrono::seconds(5)).size(), 1u) << name;
        comm.ClosePort();
    }
}

// The exclusive use keeps out a plain opener too (unless it runs as root, for whom
// TIOCEXCL is no bar), and closing gives it back.
TEST(TCommOpenTest, HoldsThePortExclusivelyUntilClosed) {
    PtyPair pty;
    TComm comm;
    comm.setCommName(pty.path());
    comm.OpenPort();
    if (::geteuid() != 0) {
        const int other = ::open(pty.path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        EXPECT_LT(other, 0) << "a second opener got in";
        if (other >= 0) {
            ::close(other);
        }
    }
    comm.ClosePort();
    TComm second;
    second.setCommName(pty.path());
    EXPECT_EQ(openFailure(second), "opened");
}

TEST(TCommOpenTest, OpeningDiscardsBytesAlreadyWaiting) {
    PtyPair pty;
    pty.send("stale");
    TComm comm;
    comm.setCommName(pty.path());
    comm.setReadIntervalTimeout(5);
    CommRecorder recorder(comm);
    comm.OpenPort();
    pty.send("fresh");
    // Bytes come in order: stale ones would come first.
    ASSERT_TRUE(recorder.pumpUntilReceived(5));
    const auto received = recorder.received();
    EXPECT_EQ(std::string(received.begin(), received.end()), "fresh");
}

// Destroying an open component closes the port first: its threads end before the queue
// they post to goes, and the port is free again.
TEST(TCommOpenTest, DestroyingAnOpenComponentClosesThePort) {
    PtyPair pty;
    {
        TComm comm;
        comm.setCommName(pty.path());
        comm.OpenPort();
        pty.send(std::string(3000, 'a'));
        const std::string line(60000, 'b');
        comm.WriteData(reinterpret_cast<const std::uint8_t*>(line.data()), 60000);
    }
    TComm next;
    next.setCommName(pty.path());
    EXPECT_EQ(openFailure(next), "opened");
}

} // namespace
} // namespace lumivert::testing
