#include "picture/colour_calculator.h"

#include "common/gbk.h"
#include "common/integer_parse.h"
#include "common/workbench_error.h"
#include "picture/rgb565.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace lumivert {
namespace {

// The workbench's integer reading takes blanks around a number and a sign in front; the
// calculator takes bare digits only. Messages are shown as UTF-8.
std::int32_t readHexDigits(std::string_view text) {
    // Built by appending: GCC 12 at -O3 mistakes `"$" + std::string` for an overlapping copy.
    std::string dollarText = "$";
    dollarText += gbkToUtf8(text);
    const bool bareDigits = std::all_of(text.begin(), text.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c)) != 0;
    });
    if (!bareDigits) {
        throw WorkbenchError("'" + dollarText + "' is not a valid integer value");
    }
    return parseInteger(dollarText);
}

std::uint8_t lowByte(std::int32_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace

ModuleColour convertColourText(std::string_view text) {
    const std::int32_t v = readHexDigits(text);
    ModuleColour colour;
    colour.value = rgb565(lowByte(v / 65536), lowByte(v / 256), lowByte(v));
    colour.decimal = std::to_string(colour.value);
    char caption[16];
    std::snprintf(caption, sizeof caption, "(0x%04X)", colour.value);
    colour.caption = caption;
    return colour;
}

std::string colourDigits(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02X%02X%02X", red, green, blue);
    return digits;
}

} // namespace lumivert
