// The page list's line markers: replacing them in one pass, joining the lines of a page.
#include "pages/line_marker.h"

#include <gtest/gtest.h>

namespace lumivert {
namespace {

struct MarkerCase {
    const char* text;
    const char* replacement;
    const char* expected;
};

// "\x81|" is one GBK character whose second byte is "|".
const MarkerCase markerCases[] = {
    {"AB|R|ACD", "", "ABCD"},
    {"AB|R|ACD", "\r\n", "AB\r\nCD"},
    {"|R|R|A|A", "", "|R|A"},
    {"|R|A|R|A", "", ""},
    {"\x81|R|A", "", "\x81|R|A"},
    {"\x81|\x81||R|A", "", "\x81|\x81|"},
    {"\xB4\xAE|R|A\xBF\xDA", "\r\n", "\xB4\xAE\r\n\xBF\xDA"},
    {"|R|", "", "|R|"},
    {"AB|r|a", "", "AB|r|a"},
};

TEST(LineMarkerTest, ReplacesMarkersInOnePassCharacterByCharacter) {
    for (const auto& [text, replacement, expected] : markerCases) {
        EXPECT_EQ(replaceLineMarkers(text, replacement), expected) << text;
    }
}

TEST(LineMarkerTest, JoinsTrimmedLines) {
    const auto lines = trimLines({"  AB ", "\tCD", "", " \xB4\xAE "});
    EXPECT_EQ(lines, (std::vector<std::string>{"AB", "CD", "", "\xB4\xAE"}));
    EXPECT_EQ(joinWithLineMarkers(lines), "AB|R|ACD|R|A|R|A\xB4\xAE");
    EXPECT_EQ(joinWithLineMarkers({}), "");
}

} // namespace
} // namespace lumivert
