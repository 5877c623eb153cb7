#pragma once

#include <string>

namespace lumivert {

// The parameters of a glyph render, as the font editor holds them: GBK text, numbers as
// decimal text, converted at each render. The defaults are the font tab's.
struct GlyphParameters {
    std::string face = "\xCB\xCE\xCC\xE5"; // 宋体
    std::string dotSize = "24";
    bool halfWidth = false;
    std::string fontHeight = "24";
    std::string fontWidth = "24"; // used for half-width characters only
    std::string xOffset = "0";
    std::string yOffset = "0";
};

// The font tab's test character, 薄.
inline constexpr const char* kDefaultTestCharacter = "\xB1\xA1";

} // namespace lumivert
