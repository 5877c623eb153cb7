#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lumivert {

// A 128-bit hash of bytes (XXH3-128), in its canonical byte order.
using SectorHash = std::array<std::uint8_t, 16>;

SectorHash hashBytes(std::span<const std::uint8_t> bytes);

// 32 lower-case hexadecimal digits, and back (none unless exactly that).
std::string hashText(const SectorHash& hash);
std::optional<SectorHash> hashFromText(std::string_view text);

} // namespace lumivert
