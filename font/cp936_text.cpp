#include "font/cp936_text.h"

#include "common/gbk.h"
#include "common/gbk_chars.h"

#include <array>
#include <memory>
#include <string>

namespace lumivert {
namespace {

// The code point of one UTF-8 encoded character; 0 for anything else.
char32_t singleCodePoint(const std::string& utf8) {
    const auto byte = [&](std::size_t i) { return static_cast<char32_t>(utf8[i] & 0xFF); };
    if (utf8.size() == 2) {
        return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    }
    if (utf8.size() == 3) {
        return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    }
    if (utf8.size() == 4) {
        return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 |
               (byte(3) & 0x3F);
    }
    return utf8.size() == 1 && utf8[0] != '?' ? byte(0) : 0;
}

// Code point of every GBK code, looked up once: text is decoded thousands of times in a
// row during a font generation.
class Cp936Table {
public:
    Cp936Table() : codePoints_(std::make_unique<std::array<char32_t, 0x10000>>()) {
        auto& table = *codePoints_;
        for (unsigned byte = 0; byte < 0x80; ++byte) {
            table[byte] = byte;
        }
        table[0x80] = singleCodePoint(gbkToUtf8("\x80"));
        for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
            for (unsigned trail = 0x00; trail <= 0xFF; ++trail) {
                if (isGbkLeadByte(static_cast<unsigned char>(lead)) &&
                    isGbkTrailByte(static_cast<unsigned char>(trail))) {
                    const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
                    table[lead << 8 | trail] = singleCodePoint(gbkToUtf8(code));
                }
            }
        }
    }

    char32_t operator[](std::uint16_t code) const { return (*codePoints_)[code]; }

private:
    std::unique_ptr<std::array<char32_t, 0x10000>> codePoints_;
};

const Cp936Table& cp936() {
    static const Cp936Table table;
    return table;
}

} // namespace

void decodeCp936(std::string_view gbk, std::vector<TextCharacter>& out) {
    const Cp936Table& table = cp936();
    out.clear();
    for (std::size_t i = 0; i < gbk.size();) {
        const std::size_t length = gbkCharacterLength(gbk, i);
        auto code = static_cast<std::uint16_t>(static_cast<unsigned char>(gbk[i]));
        if (length == 2) {
            code = static_cast<std::uint16_t>(code << 8 | static_cast<unsigned char>(gbk[i + 1]));
        }
        out.push_back({code, table[code]});
        i += length;
    }
}

} // namespace lumivert
