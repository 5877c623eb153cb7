#pragma once

#include <cstdint>
#include <optional>

namespace lumivert {

// Baud rates that have no B-constant (256000, for one) go to the driver through the
// kernel's termios2 with BOTHER. The kernel's terminal headers clash with the C library's,
// so this is the one file that includes them; it must not include <termios.h>.

// Sets both directions of the line on `fd` to `rate` baud. Returns false when the driver
// refuses.
bool setCustomBaudRate(int fd, std::uint32_t rate);

// The output rate the driver holds for the line on `fd`, in baud; none when it cannot say.
std::optional<std::uint32_t> lineBaudRate(int fd);

} // namespace lumivert
