#include "inspect/listing_format.h"

#include <cstdio>

namespace lumivert {

std::string hexOffset(std::int64_t offset) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%06llX", static_cast<unsigned long long>(offset));
    return text;
}

std::string hexCode(std::string_view character) {
    std::string code;
    for (const char c : character) {
        char text[3];
        std::snprintf(text, sizeof text, "%02X", static_cast<unsigned char>(c));
        code += text;
    }
    return code;
}

std::string describeCharacter(std::string_view character) {
    const auto first = static_cast<unsigned char>(character.empty() ? 0 : character.front());
    const bool shows = character.size() == 2 || (first > 0x20 && first < 0x7F);
    return (shows ? std::string(character) + " " : std::string()) + "(" + hexCode(character) + ")";
}

} // namespace lumivert
