#include "common/escaped_text.h"

#include <stdexcept>

namespace lumivert {
namespace {

int hexDigit(char digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'a' && digit <= 'f') {
        return digit - 'a' + 10;
    }
    if (digit >= 'A' && digit <= 'F') {
        return digit - 'A' + 10;
    }
    return -1;
}

} // namespace

std::string unescapeText(std::string_view typed) {
    std::string bytes;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed[i] != '\\') {
            bytes += typed[i];
            continue;
        }
        const char kind = i + 1 < typed.size() ? typed[i + 1] : '\0';
        ++i;
        if (kind == 'r') {
            bytes += '\r';
        } else if (kind == 'n') {
            bytes += '\n';
        } else if (kind == 't') {
            bytes += '\t';
        } else if (kind == '\\') {
            bytes += '\\';
        } else if (kind == 'x' && i + 2 < typed.size() && hexDigit(typed[i + 1]) >= 0 &&
                   hexDigit(typed[i + 2]) >= 0) {
            bytes += static_cast<char>(hexDigit(typed[i + 1]) * 16 + hexDigit(typed[i + 2]));
            i += 2;
        } else {
            throw std::invalid_argument("unknown escape: \\" + std::string(1, kind));
        }
    }
    return bytes;
}

} // namespace lumivert
