#include "common/integer_parse.h"

#include "common/gbk.h"
#include "common/workbench_error.h"

#include <optional>
#include <string>

namespace lumivert {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::optional<unsigned> digitValue(char c, unsigned base) {
    unsigned value = base;
    if (c >= '0' && c <= '9') {
        value = static_cast<unsigned>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
        value = static_cast<unsigned>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
        value = static_cast<unsigned>(c - 'A' + 10);
    }
    if (value >= base) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> tryParse(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }

    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    unsigned base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }

    // Accumulated in 64 bits; any value past 32 bits has already failed.
    constexpr std::uint64_t hexLimit = 0xFFFFFFFFu;
    const std::uint64_t decimalLimit = negative ? 2147483648u : 2147483647u;
    const std::uint64_t limit = base == 16 ? hexLimit : decimalLimit;
    std::uint64_t value = 0;
    for (char c : text) {
        const auto digit = digitValue(c, base);
        if (!digit) {
            return std::nullopt;
        }
        value = value * base + *digit;
        if (value > limit) {
            return std::nullopt;
        }
    }

    // Two's complement wrap into the signed range, as 32-bit arithmetic gives it.
    auto bits = static_cast<std::uint32_t>(value);
    if (negative) {
        bits = 0u - bits;
    }
    return static_cast<std::int32_t>(bits);
}

// Built by appending: GCC 12 at -O3 mistakes `"'" + std::string(...)` for an overlapping
// copy (-Wrestrict).
WorkbenchError notAnInteger(std::string_view shown) {
    std::string message = "'";
    message.append(shown);
    message.append("' is not a valid integer value");
    return WorkbenchError(message);
}

} // namespace

std::int32_t parseInteger(std::string_view text) {
    if (const auto value = tryParse(text)) {
        return *value;
    }
    throw notAnInteger(text);
}

std::int32_t parseGbkInteger(std::string_view gbk) {
    if (const auto value = tryParse(gbk)) {
        return *value;
    }
    throw notAnInteger(gbkToUtf8(gbk));
}

} // namespace lumivert
