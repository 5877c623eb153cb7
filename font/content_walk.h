#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lumivert {

// A font definition row's content as the extracted-character generation reads it, position
// by position from its first byte. A byte up to 0x80 is a one-byte character; a byte from
// 0x81 on forms a two-byte character with the byte after it, whatever that byte is. A
// full-width row extracts the two-byte characters and a half-width row the one-byte ones,
// each the first time it occurs as a whole character in the row. A lead byte left alone at
// the end of the content is a position of its own that extracts nothing.
class ContentWalk {
public:
    ContentWalk(std::string_view content, bool halfWidth)
        : content_(content), halfWidth_(halfWidth) {}

    // Moves to the next position; false once the content is used up.
    bool next();

    // The character at the position, GBK.
    std::string_view character() const { return content_.substr(position_, length_); }

    // Whether the row extracts the character at this position.
    bool extracted() const { return extracted_; }

    // The code bytes of its index entry: the first byte of a two-byte code, or 0 for a
    // one-byte character; then its second (or only) byte.
    std::uint8_t firstCodeByte() const;
    std::uint8_t secondCodeByte() const;

private:
    static constexpr unsigned char kLastSingleByte = 0x80;

    std::string_view content_;
    bool halfWidth_;
    std::size_t position_ = 0;
    std::size_t length_ = 0;
    bool extracted_ = false;
    // The characters handled, by code: a one-byte character's byte, else lead * 256 + trail.
    std::bitset<0x10000> handled_;
};

} // namespace lumivert
