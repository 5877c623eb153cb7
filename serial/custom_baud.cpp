#include "serial/custom_baud.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace lumivert {

bool setCustomBaudRate(int fd, std::uint32_t rate) {
    struct termios2 line {};
    if (::ioctl(fd, TCGETS2, &line) != 0) {
        return false;
    }
    line.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    line.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    line.c_ispeed = rate;
    line.c_ospeed = rate;
    return ::ioctl(fd, TCSETS2, &line) == 0;
}

std::optional<std::uint32_t> lineBaudRate(int fd) {
    struct termios2 line {};
    if (::ioctl(fd, TCGETS2, &line) != 0) {
        return std::nullopt;
    }
    return line.c_ospeed;
}

} // namespace lumivert
