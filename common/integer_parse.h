#pragma once

#include <cstdint>
#include <string_view>

namespace lumivert {

// Reads a numeric field the way the workbench always has: decimal with an optional sign, or
// hexadecimal after a "$" ("-$1A"). Hexadecimal takes up to eight significant digits and
// wraps into the signed range ("$FFFFFFFF" is -1). Blanks (spaces, tabs) around the number
// are ignored. Throws WorkbenchError "'<text>' is not a valid integer value" otherwise.
std::int32_t parseInteger(std::string_view text);

// parseInteger for GBK text, such as a field of the window: the message shows the text in
// UTF-8, as every message is shown.
std::int32_t parseGbkInteger(std::string_view gbk);

} // namespace lumivert
