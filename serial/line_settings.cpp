#include "serial/line_settings.h"

#include "serial/custom_baud.h"

#include <array>
#include <sys/ioctl.h>
#include <utility>

namespace lumivert {
namespace {

constexpr std::array<std::pair<std::uint32_t, speed_t>, 30> kStandardSpeeds{{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
}};

tcflag_t dataBits(TByteSize size) {
    switch (size) {
    case TByteSize::_5:
        return CS5;
    case TByteSize::_6:
        return CS6;
    case TByteSize::_7:
        return CS7;
    case TByteSize::_8:
        break;
    }
    return CS8;
}

tcflag_t parityBits(TParity parity) {
    switch (parity) {
    case TParity::None:
        break;
    case TParity::Odd:
        return PARENB | PARODD;
    case TParity::Even:
        return PARENB;
    case TParity::Mark:
        return PARENB | PARODD | CMSPAR;
    case TParity::Space:
        return PARENB | CMSPAR;
    }
    return 0;
}

template <typename Flags> void setFlag(Flags& flags, Flags flag, bool on) {
    flags = on ? (flags | flag) : (flags & ~flag);
}

void setModemLine(int fd, int line, bool raised) {
    // A pseudo-terminal has no modem lines and refuses with ENOTTY; that is no error.
    ::ioctl(fd, raised ? TIOCMBIS : TIOCMBIC, &line);
}

// tcsetattr succeeds when the driver took any part of the settings, so the rate is read back.
// A UART's divisor makes the rate it runs at a little off the one asked; within 2% a line
// works, further off (or a driver that fell back to another rate) it does not.
bool holdsRate(int fd, std::uint32_t rate) {
    const auto held = lineBaudRate(fd);
    if (!held) {
        return true;
    }
    const std::uint64_t off = *held > rate ? *held - rate : rate - *held;
    return off * 50 <= rate;
}

} // namespace

std::optional<speed_t> standardSpeed(std::uint32_t rate) {
    for (const auto& [baud, speed] : kStandardSpeeds) {
        if (baud == rate) {
            return speed;
        }
    }
    return std::nullopt;
}

termios lineTermios(const termios& current, const CommSettings& settings) {
    termios line = current;
    ::cfmakeraw(&line);
    line.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | IGNPAR);
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    line.c_cflag |= CLOCAL | CREAD | dataBits(settings.ByteSize) | parityBits(settings.Parity);
    setFlag(line.c_cflag, tcflag_t{CSTOPB}, settings.StopBits != TStopBits::_1);
    setFlag(line.c_cflag, tcflag_t{CRTSCTS},
            settings.Outx_CtsFlow || settings.RtsControl == TRtsControl::RtsHandshake);
    setFlag(line.c_iflag, tcflag_t{INPCK}, settings.ParityCheck);
    setFlag(line.c_iflag, tcflag_t{IXON}, settings.Outx_XonXoffFlow);
    setFlag(line.c_iflag, tcflag_t{IXOFF}, settings.Inx_XonXoffFlow);
    line.c_cc[VSTART] = static_cast<cc_t>(settings.XonChar);
    line.c_cc[VSTOP] = static_cast<cc_t>(settings.XoffChar);
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
    if (const auto speed = standardSpeed(settings.BaudRate)) {
        // The input rate follows the output rate.
        line.c_cflag &= ~static_cast<tcflag_t>(CIBAUD);
        ::cfsetospeed(&line, *speed);
        ::cfsetispeed(&line, *speed);
    }
    return line;
}

bool applyLineSettings(int fd, const CommSettings& settings) {
    termios current{};
    if (::tcgetattr(fd, &current) != 0) {
        return false;
    }
    const termios line = lineTermios(current, settings);
    bool taken = ::tcsetattr(fd, TCSANOW, &line) == 0;
    if (taken && settings.BaudRate != 0 && !standardSpeed(settings.BaudRate)) {
        taken = setCustomBaudRate(fd, settings.BaudRate);
    }
    if (taken && settings.BaudRate != 0) {
        taken = holdsRate(fd, settings.BaudRate);
    }
    if (settings.DtrControl != TDtrControl::DtrHandshake) {
        setModemLine(fd, TIOCM_DTR, settings.DtrControl == TDtrControl::DtrEnable);
    }
    if (settings.RtsControl == TRtsControl::RtsEnable ||
        settings.RtsControl == TRtsControl::RtsDisable) {
        setModemLine(fd, TIOCM_RTS, settings.RtsControl == TRtsControl::RtsEnable);
    }
    return taken;
}

} // namespace lumivert
