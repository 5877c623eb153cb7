#pragma once

#include <cstddef>
#include <string_view>

namespace lumivert {

// Stepping through GBK text a character at a time: a lead byte (0x81 to 0xFE) followed by a
// byte that can trail it (0x40 to 0x7E, 0x80 to 0xFE) is one character of two bytes; every
// other byte, a lead byte with no fitting byte after it included, is a character of its own,
// as the GBK conversion treats it. So a "|" (0x7C) that trails a lead byte is part of that
// character, never a "|" of its own.

inline bool isGbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

inline bool isGbkTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
}

// The length, 1 or 2, of the character that starts at `at` (which is inside `text`).
inline std::size_t gbkCharacterLength(std::string_view text, std::size_t at) {
    const bool pair = isGbkLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() &&
                      isGbkTrailByte(static_cast<unsigned char>(text[at + 1]));
    return pair ? 2 : 1;
}

// The longest start of `text` that ends at a whole character and has at most `longest`
// bytes.
inline std::string_view cutAtCharacter(std::string_view text, std::size_t longest) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + gbkCharacterLength(text, end);
        if (next > longest) {
            break;
        }
        end = next;
    }
    return text.substr(0, end);
}

} // namespace lumivert
