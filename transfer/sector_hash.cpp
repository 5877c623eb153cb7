#include "transfer/sector_hash.h"

#include <xxhash.h>

namespace lumivert {
namespace {

constexpr const char* kDigits = "0123456789abcdef";

int digitValue(char digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'a' && digit <= 'f') {
        return digit - 'a' + 10;
    }
    return -1;
}

} // namespace

SectorHash hashBytes(std::span<const std::uint8_t> bytes) {
    XXH128_canonical_t canonical{};
    XXH128_canonicalFromHash(&canonical, XXH3_128bits(bytes.data(), bytes.size()));
    SectorHash hash{};
    for (std::size_t i = 0; i < hash.size(); ++i) {
        hash[i] = canonical.digest[i];
    }
    return hash;
}

std::string hashText(const SectorHash& hash) {
    std::string text;
    for (const std::uint8_t byte : hash) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

std::optional<SectorHash> hashFromText(std::string_view text) {
    SectorHash hash{};
    if (text.size() != 2 * hash.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < hash.size(); ++i) {
        const int high = digitValue(text[2 * i]);
        const int low = digitValue(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        hash[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return hash;
}

} // namespace lumivert
