#include "common/escaped_text.h"
#include "common/line_split.h"
#include "common/trim.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lumivert {
namespace {

using namespace std::string_literals;

struct TrimCase {
    std::string input;
    std::string expected;
};

const TrimCase trimCases[] = {
    {"", ""},
    {" \t\r\n", ""},
    {"  a b  ", "a b"},
    {"\x01\x1F"
     "BUP(16,232)\r",
     "BUP(16,232)"},
    {"\0a\0"s, "a"},
    {"\x7F"
     "a\x7F",
     "\x7F"
     "a\x7F"},
    {"!a!", "!a!"},
    // GBK bytes, such as the full-width space A1 A1, are never trimmed.
    {"\xA1\xA1"
     "a\xA1\xA1",
     "\xA1\xA1"
     "a\xA1\xA1"},
    {" \x80\xFF ", "\x80\xFF"},
};

TEST(Trim, RemovesCodesUpToSpaceAtBothEnds) {
    for (const auto& c : trimCases) {
        SCOPED_TRACE(testing::PrintToString(c.input));
        EXPECT_EQ(trim(c.input), c.expected);
    }
}

struct SplitCase {
    std::string input;
    std::vector<std::string> expected;
};

const SplitCase splitCases[] = {
    {"", {}},
    {"a", {"a"}},
    {"a\r\n", {"a"}},
    {"a\r", {"a"}},
    {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
    {"a\r\rb", {"a", "", "b"}},
    {"a\n\rb", {"a", "", "b"}},
    {"a\r\n\r\nb", {"a", "", "b"}},
    {"\n", {""}},
    {"\r\n\r\n", {"", ""}},
    {"a\n\n", {"a", ""}},
    {" a \t", {" a \t"}},
    {"\xB4\xAE\r\n\xBF\xDA", {"\xB4\xAE", "\xBF\xDA"}},
    {"a\0b\nc"s, {"a"}},
    {"a\n\0b"s, {"a"}},
    {"\0a\nb"s, {}},
};

TEST(SplitLines, BreaksAtCrLfOrCrLfAndStopsAtZeroByte) {
    for (const auto& c : splitCases) {
        SCOPED_TRACE(testing::PrintToString(c.input));
        EXPECT_EQ(splitLines(c.input), c.expected);
    }
}

TEST(EscapedTextTest, TakesEscapes) {
    EXPECT_EQ(unescapeText("OK\\r\\n"), "OK\r\n");
    EXPECT_EQ(unescapeText("\\x06\\t\\\\"), "\x06\t\\");
    EXPECT_THROW(unescapeText("\\q"), std::invalid_argument);
    EXPECT_THROW(unescapeText("\\x4"), std::invalid_argument);
    EXPECT_THROW(unescapeText("A\\"), std::invalid_argument);
}

} // namespace
} // namespace lumivert
