#pragma once

#include "common/unique_fd.h"

#include <string>

namespace lumivert {

// The device a port name means: "/dev/" + the name when it holds no slash ("ttyUSB0"), the
// name itself otherwise ("/dev/pts/3").
std::string portDevicePath(const std::string& name);

// Opens the port `name` for the port component's sole use: read and write, never as the
// program's controlling terminal, without waiting (all waits are poll()s), closed in child
// processes. Then takes it exclusively: an advisory lock that keeps out every opener that
// locks too (root included), and TIOCEXCL, which keeps out every other opener but root.
// Throws ECommsError: "打开串口出错\r\n此串口不存在或被占用" when the device is missing,
// cannot be opened or is held, "初始化缓冲区出错" when it is no terminal; when the user may
// not use the device, the error names the device's group (dialout) and the command that
// adds the user to it.
UniqueFd openPortDevice(const std::string& name);

// Gives the exclusive use back before the descriptor closes, so that the next opening
// works while another descriptor of the terminal stays open.
void releasePortDevice(UniqueFd port);

} // namespace lumivert
