#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumivert {

// The colour calculator's outputs for one colour.
struct ModuleColour {
    std::uint16_t value = 0;
    std::string decimal; // "63488"
    std::string caption; // "(0xF800)"
};

// Converts a colour typed (GBK text) as bare hexadecimal digits RRGGBB (either case) into the
// module's 16-bit value. The digits are read as a 32-bit signed number v; red, green and blue are
// the low bytes of v / 65536, v / 256 and v, the divisions truncating toward zero, so digits in
// front of the last six are ignored while v is not negative.
//
// Throws WorkbenchError "'$<text>' is not a valid integer value" for an empty text, anything
// but hexadecimal digits (a prefix, a sign, a blank anywhere) or a value past 32 bits.
ModuleColour convertColourText(std::string_view text);

// A chosen colour as the calculator's input: "FF8000" for red 255, green 128, blue 0.
std::string colourDigits(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

} // namespace lumivert
