#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumivert {

// Splits text into lines ended by CR, LF or CR LF. A line break at the very end adds no empty
// line after it; empty text has no lines. A zero byte ends the text.
std::vector<std::string> splitLines(std::string_view text);

} // namespace lumivert
