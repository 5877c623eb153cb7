#pragma once

#include <string_view>

namespace lumivert {

// Removes leading and trailing characters with codes 0x00 to 0x20. Bytes of 0x80 and above
// (GBK) are never removed.
inline std::string_view trim(std::string_view text) {
    const auto isTrimmed = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!text.empty() && isTrimmed(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isTrimmed(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace lumivert
