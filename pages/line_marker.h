#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumivert {

// A line break inside a page of the page list: the page's content is one line in the grid
// and in its file, its lines joined by this marker.
inline constexpr std::string_view kLineMarker = "|R|A";

// Replaces every marker in GBK `text` by `replacement`, in one pass from left to right that
// steps a character at a time: a "|" that is the second byte of a character never starts a
// marker, and what a replacement brings together is not searched again.
std::string replaceLineMarkers(std::string_view text, std::string_view replacement);

// Each line without its leading and trailing characters of codes 0x00 to 0x20.
std::vector<std::string> trimLines(const std::vector<std::string>& lines);

// The lines joined by the marker: a page's content from the lines of the editor.
std::string joinWithLineMarkers(const std::vector<std::string>& lines);

} // namespace lumivert
