#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace lumivert {

// One character of GBK text as the glyph rasterizer draws it.
struct TextCharacter {
    std::uint16_t code = 0; // its GBK code: one byte, or lead byte * 256 + trail byte
    char32_t codePoint = 0; // the character code page 936 maps it to; 0 for none

    // Whether the code stands for a character: code page 936 maps it to one outside the
    // private-use area. Only such a character may come from a face other than the chosen
    // one; any other code is the chosen face's alone to draw.
    bool assigned() const { return codePoint != 0 && (codePoint < 0xE000 || codePoint > 0xF8FF); }
};

// Splits GBK text into its characters, in place of what `out` held: a lead byte with a
// trail byte after it is a two-byte code, every other byte a code of its own (the GBK rule
// of common/gbk_chars.h). A code that code page 936 leaves unassigned stays a character of
// its own, with no code point.
void decodeCp936(std::string_view gbk, std::vector<TextCharacter>& out);

} // namespace lumivert
