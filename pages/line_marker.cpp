#include "pages/line_marker.h"

#include "common/gbk_chars.h"
#include "common/trim.h"

namespace lumivert {

std::string replaceLineMarkers(std::string_view text, std::string_view replacement) {
    std::string result;
    result.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        if (text.substr(at, kLineMarker.size()) == kLineMarker) {
            result += replacement;
            at += kLineMarker.size();
        } else {
            const std::size_t length = gbkCharacterLength(text, at);
            result += text.substr(at, length);
            at += length;
        }
    }
    return result;
}

std::vector<std::string> trimLines(const std::vector<std::string>& lines) {
    std::vector<std::string> trimmed;
    trimmed.reserve(lines.size());
    for (const auto& line : lines) {
        trimmed.emplace_back(trim(line));
    }
    return trimmed;
}

std::string joinWithLineMarkers(const std::vector<std::string>& lines) {
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            joined += kLineMarker;
        }
        joined += lines[i];
    }
    return joined;
}

} // namespace lumivert
