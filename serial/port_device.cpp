#include "serial/port_device.h"

#include "common/fd_io.h"
#include "serial/comms_error.h"

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <string>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>

namespace lumivert {
namespace {

const char* const kOpenFailed = "打开串口出错\r\n此串口不存在或被占用";
const char* const kNotATerminal = "初始化缓冲区出错";

// The group whose members may use the device: on Debian "dialout" for serial adapters.
std::string deviceGroup(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && status.st_gid != 0) {
        if (const group* entry = ::getgrgid(status.st_gid); entry != nullptr) {
            return entry->gr_name;
        }
    }
    return "dialout";
}

// A user who may not use serial devices is told how to become one who may.
std::string noPermission(const std::string& path) {
    const std::string group = deviceGroup(path);
    const std::string command = "sudo usermod -aG " + group + " $USER";
    std::string message = "打开串口出错\r\n没有使用 ";
    message += path + " 的权限：用户须在 " + group + " 组中。\r\n加入该组：" + command +
               "，然后注销并重新登录。\r\nNo permission to use " + path + ": add yourself to the " +
               group + " group with \"" + command + "\", then log out and in again.";
    return message;
}

} // namespace

std::string portDevicePath(const std::string& name) {
    return name.find('/') == std::string::npos ? "/dev/" + name : name;
}

UniqueFd openPortDevice(const std::string& name) {
    if (name.empty()) {
        throw ECommsError(kOpenFailed);
    }
    const std::string path = portDevicePath(name);
    UniqueFd port(openRetrying(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
    if (!port && errno == EACCES) {
        throw ECommsError(noPermission(path));
    }
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
