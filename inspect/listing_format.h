#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumivert {

// "0x0DFFFF": a flash offset, six hexadecimal digits at least.
std::string hexOffset(std::int64_t offset);

// "D6D0", "41": a character's GBK code in hexadecimal, two digits a byte.
std::string hexCode(std::string_view character);

// "中 (D6D0)": a GBK character with its code; a byte that shows nothing (a control
// character, a space, a byte of 0x80 or more alone) by its code alone: "(20)".
std::string describeCharacter(std::string_view character);

} // namespace lumivert
