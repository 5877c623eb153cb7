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

} // namespace lumivert
