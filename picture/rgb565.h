#pragma once

#include <cstdint>

namespace lumivert {

// The module's 16-bit colour: red bits 7..3 in bits 15..11, green bits 7..2 in bits 10..5,
// blue bits 7..3 in bits 4..0. Stored high byte first.
constexpr std::uint8_t rgb565High(std::uint8_t red, std::uint8_t green) {
    return static_cast<std::uint8_t>((red & 0xF8) | (green >> 5));
}

constexpr std::uint8_t rgb565Low(std::uint8_t green, std::uint8_t blue) {
    return static_cast<std::uint8_t>(((green << 3) & 0xE0) | (blue >> 3));
}

constexpr std::uint16_t rgb565(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<std::uint16_t>(rgb565High(red, green) << 8 | rgb565Low(green, blue));
}

// The 8-bit value a level of `bits` bits (5 or 6) stands for: its bits repeated into the low
// bits, so that 0 is 0, the top level 255, and dropping the low bits gives the level back.
constexpr std::uint8_t expandedLevel(int level, int bits) {
    return static_cast<std::uint8_t>(level << (8 - bits) | level >> (2 * bits - 8));
}

// The 8-bit red, green and blue a module colour stands for.
struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;

    bool operator==(const Rgb&) const = default;
};

constexpr Rgb rgbOf565(std::uint16_t colour) {
    return {expandedLevel(colour >> 11, 5), expandedLevel(colour >> 5 & 0x3F, 6),
            expandedLevel(colour & 0x1F, 5)};
}

} // namespace lumivert
