#include "common/line_split.h"

namespace lumivert {

std::vector<std::string> splitLines(std::string_view text) {
    if (const auto end = text.find('\0'); end != std::string_view::npos) {
        text = text.substr(0, end);
    }
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto lineEnd = text.find_first_of("\r\n");
        lines.emplace_back(text.substr(0, lineEnd));
        if (lineEnd == std::string_view::npos) {
            break;
        }
        std::size_t breakLength = 1;
        if (text[lineEnd] == '\r' && lineEnd + 1 < text.size() && text[lineEnd + 1] == '\n') {
            breakLength = 2;
        }
        text.remove_prefix(lineEnd + breakLength);
    }
    return lines;
}

} // namespace lumivert
