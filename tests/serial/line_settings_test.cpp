#include "serial/custom_baud.h"
#include "serial/line_settings.h"
#include "serial/tcomm.h"
#include "tests/support/pty_pair.h"

#include <gtest/gtest.h>
#include <termios.h>

namespace lumivert::testing {
namespace {

// The line as the driver holds it. A pseudo-terminal's peer side reads the terminal side's
// settings, so the test sees what the component set without a second opener.
termios lineOf(const PtyPair& pty) {
    termios line{};
    ::tcgetattr(pty.peer(), &line);
    return line;
}

class LineSettingsTest : public ::testing::Test {
protected:
    LineSettingsTest() {
        comm.setCommName(pty.path());
        comm.OpenPort();
    }

    PtyPair pty;
    TComm comm{CommSettings::mainWindow()};
};

TEST_F(LineSettingsTest, OpensRawWithTheMainWindowsFraming) {
    const termios line = lineOf(pty);
    EXPECT_EQ(line.c_cflag & CSIZE, tcflag_t{CS8});
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_cflag & (CLOCAL | CREAD), tcflag_t{CLOCAL | CREAD});
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP | INPCK), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_EQ(lineBaudRate(pty.peer()), 9600u);
}

TEST_F(LineSettingsTest, EveryRateOfTheBaudListReachesTheDriver) {
    for (const std::uint32_t rate :
         {2400u, 4800u, 9600u, 19200u, 38400u, 57600u, 115200u, 256000u, 115200u}) {
        comm.setBaudRate(rate);
        EXPECT_EQ(lineBaudRate(pty.peer()), rate);
    }
}

// A pseudo-terminal holds 8 data bits and no parity whatever it is given (see the framing
// test below for those); the rest of the line it keeps.
TEST_F(LineSettingsTest, StopBitsAndFlowControlApplyAtOnce) {
    comm.setStopBits(TStopBits::_2);
    EXPECT_NE(lineOf(pty).c_cflag & CSTOPB, 0u);
    comm.setStopBits(TStopBits::_1_5);
    EXPECT_NE(lineOf(pty).c_cflag & CSTOPB, 0u);
    comm.setStopBits(TStopBits::_1);
    EXPECT_EQ(lineOf(pty).c_cflag & CSTOPB, 0u);

    comm.setOutx_CtsFlow(true);
    EXPECT_NE(lineOf(pty).c_cflag & CRTSCTS, 0u);
    comm.setOutx_CtsFlow(false);
    EXPECT_EQ(lineOf(pty).c_cflag & CRTSCTS, 0u);
    comm.setRtsControl(TRtsControl::RtsHandshake);
    EXPECT_NE(lineOf(pty).c_cflag & CRTSCTS, 0u);

    comm.setXonChar('A');
    comm.setXoffChar('B');
    comm.setOutx_XonXoffFlow(true);
    comm.setInx_XonXoffFlow(true);
    const termios line = lineOf(pty);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF), tcflag_t{IXON | IXOFF});
    EXPECT_EQ(line.c_cc[VSTART], 'A');
    EXPECT_EQ(line.c_cc[VSTOP], 'B');
}

// The parity changes nothing while the port is open until another line setting changes or
// the port opens again. The pseudo-terminal drops the parity enable bit but keeps the odd
// and stick bits, which tell the parities apart.
TEST_F(LineSettingsTest, TheParityWaitsForTheNextLineChangeOrOpening) {
    const tcflag_t kept = PARODD | CMSPAR;
    const auto parityOf = [&] { return lineOf(pty).c_cflag & kept; };
    comm.setParity(TParity::Mark);
    EXPECT_EQ(parityOf(), 0u);
    comm.setParityCheck(true);
    EXPECT_EQ(parityOf(), kept);
    EXPECT_NE(lineOf(pty).c_iflag & INPCK, 0u);

    comm.setParity(TParity::Space);
    comm.ClosePort();
    EXPECT_EQ(parityOf(), kept);
    comm.OpenPort();
    EXPECT_EQ(parityOf(), tcflag_t{CMSPAR});
}

// A setter given the value held leaves the line alone, even when the line has drifted.
TEST_F(LineSettingsTest, AnUnchangedValueNeverTouchesThePort) {
    termios drifted = lineOf(pty);
    drifted.c_cflag |= CSTOPB;
    ::tcsetattr(pty.peer(), TCSANOW, &drifted);

    comm.setBaudRate(comm.BaudRate());
    comm.setStopBits(comm.StopBits());
    comm.setXonChar(comm.XonChar());
    EXPECT_NE(lineOf(pty).c_cflag & CSTOPB, 0u);

    comm.setBaudRate(19200);
    EXPECT_EQ(lineOf(pty).c_cflag & CSTOPB, 0u);
}

TEST(LineTermiosTest, DataBitsAndParityMapToTheTerminalsFlags) {
    struct Case {
        TByteSize size;
        TParity parity;
        tcflag_t flags;
    };
    const std::vector<Case> cases = {
        {TByteSize::_5, TParity::None, CS5},
        {TByteSize::_6, TParity::Odd, CS6 | PARENB | PARODD},
        {TByteSize::_7, TParity::Even, CS7 | PARENB},
        {TByteSize::_8, TParity::Mark, CS8 | PARENB | PARODD | CMSPAR},
        {TByteSize::_8, TParity::Space, CS8 | PARENB | CMSPAR},
    };
    termios odd7{};
    odd7.c_cflag = CS7 | PARENB | PARODD | CSTOPB;
    for (const auto& [size, parity, flags] : cases) {
        CommSettings settings;
        settings.ByteSize = size;
        settings.Parity = parity;
        const termios line = lineTermios(odd7, settings);
        EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR), flags);
        EXPECT_EQ(line.c_cflag & CSTOPB, 0u);
    }
}

TEST(LineTermiosTest, SettingsWithoutTerminalCounterpartChangeNothing) {
    termios base{};
    const termios plain = lineTermios(base, CommSettings::mainWindow());
    CommSettings stored = CommSettings::mainWindow();
    stored.Outx_DsrFlow = true;
    stored.DsrSensitivity = true;
    stored.TxContinueOnXoff = false;
    stored.ReplaceWhenParityError = true;
    stored.IgnoreNullChar = true;
    stored.XonLimit = 10;
    stored.XoffLimit = 20;
    stored.ReplacedChar = '?';
    const termios line = lineTermios(base, stored);
    EXPECT_EQ(line.c_iflag, plain.c_iflag);
    EXPECT_EQ(line.c_cflag, plain.c_cflag);
    EXPECT_EQ(line.c_oflag, plain.c_oflag);
    EXPECT_EQ(line.c_lflag, plain.c_lflag);
}

TEST(LineTermiosTest, RatesWithoutBConstantAreLeftToTheCustomPath) {
    EXPECT_EQ(standardSpeed(115200), speed_t{B115200});
    EXPECT_EQ(standardSpeed(2400), speed_t{B2400});
    EXPECT_FALSE(standardSpeed(256000));
    EXPECT_FALSE(standardSpeed(0));
}

} // namespace
} // namespace lumivert::testing
