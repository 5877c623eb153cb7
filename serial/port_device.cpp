#include "serial/port_device.h"

#include "common/fd_io.h"
#include "serial/comms_error.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

namespace lumivert {
namespace {

const char* const kOpenFailed = "打开串口出错\r\n此串口不存在或被占用";
const char* const kNotATerminal = "初始化缓冲区出错";

} // namespace

std::string portDevicePath(const std::string& name) {
    return name.find('/') == std::string::npos ? "/dev/" + name : name;
}

UniqueFd openPortDevice(const std::string& name) {
    if (name.empty()) {
        throw ECommsError(kOpenFailed);
    }
    UniqueFd port(openRetrying(portDevicePath(name).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
    if (!port || ::flock(port.get(), LOCK_EX | LOCK_NB) != 0) {
        throw ECommsError(kOpenFailed);
    }
    termios line{};
    if (::tcgetattr(port.get(), &line) != 0) {
        throw ECommsError(kNotATerminal);
    }
    if (::ioctl(port.get(), TIOCEXCL) != 0) {
        throw ECommsError(kOpenFailed);
    }
    return port;
}

void releasePortDevice(UniqueFd port) {
    if (port) {
        ::ioctl(port.get(), TIOCNXCL);
    }
}

} // namespace lumivert
