#pragma once

#include <string>
#include <string_view>

namespace lumivert {

// The reply as typed on the command line: "\r", "\n", "\t", "\\" and "\xHH" (two hexadecimal
// digits) stand for their bytes. Throws std::invalid_argument for another escape.
std::string unescapeReplyText(std::string_view typed);

} // namespace lumivert
