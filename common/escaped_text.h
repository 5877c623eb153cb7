#pragma once

#include <string>
#include <string_view>

namespace lumivert {

// Bytes as typed on a command line: "\r", "\n", "\t", "\\" and "\xHH" (two hexadecimal
// digits) stand for their bytes, every other character for itself. Throws
// std::invalid_argument for another escape.
std::string unescapeText(std::string_view typed);

} // namespace lumivert
