#include "common/gbk.h"

#include <gtest/gtest.h>
#include <string>

namespace lumivert {
namespace {

using namespace std::string_literals;

struct RoundTripCase {
    const char* name;
    std::string utf8;
    std::string gbk;
};

const RoundTripCase roundTripCases[] = {
    {"empty", "", ""},
    {"ascii", "DS12(0,0,'Hello',15);\r", "DS12(0,0,'Hello',15);\r"},
    {"chinese", "串口命令", "\xB4\xAE\xBF\xDA\xC3\xFC\xC1\xEE"},
    {"mixed", "A串B",
     "A\xB4\xAE"
     "B"},
    {"zero byte kept", "a\0串"s, "a\0\xB4\xAE"s},
    {"euro sign", "€", "\x80"},
    {"em dash", "—", "\xA1\xAA"},
    {"horizontal bar", "―", "\xA8\x44"},
    {"middle dot", "·", "\xA1\xA4"},
    {"gbk extension", "丂", "\x81\x40"},
    {"full-width space", "　", "\xA1\xA1"},
};

TEST(GbkConversion, RoundTripsTextThatGbkHolds) {
    for (const auto& c : roundTripCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8ToGbk(c.utf8), c.gbk);
        EXPECT_EQ(gbkToUtf8(c.gbk), c.utf8);
    }
}

struct ReplacementCase {
    const char* name;
    std::string input;
    std::string expected;
};

const ReplacementCase utf8ToGbkCases[] = {
    {"hangul", "가", "?"},
    {"two unmappable characters", "가나", "??"},
    {"emoji between ascii", "a😀b", "a?b"},
    {"latin digraph", "ǅ串", "?\xB4\xAE"},
    {"stray continuation byte", "a\x80z", "a?z"},
    {"byte never in utf-8", "\xFF", "?"},
    {"cut-short sequence then ascii",
     "\xE4\xB8"
     "A",
     "??A"},
    {"cut-short sequence at end", "a\xE4\xB8", "a??"},
    {"overlong form", "\xC0\xAF", "??"},
    {"encoded surrogate", "\xED\xA0\x80", "???"},
    {"beyond U+10FFFF", "\xF4\x90\x80\x80", "????"},
};

TEST(GbkConversion, Utf8ThatGbkCannotHoldBecomesQuestionMarks) {
    for (const auto& c : utf8ToGbkCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8ToGbk(c.input), c.expected);
    }
}

const ReplacementCase gbkToUtf8Cases[] = {
    {"byte never in gbk",
     "a\xFF"
     "b",
     "a?b"},
    {"lead byte at end", "A\x81", "A?"},
    {"lead byte before a control character", "\x81\x7F", "?\x7F"},
    {"lead byte before a space", "\x81 x", "? x"},
    {"unassigned pair is one character",
     "\xA2\xAB"
     "x",
     "?x"},
    {"user-defined area", "\xAA\xA1\xB4\xAE", "?串"},
};

TEST(GbkConversion, InvalidGbkBecomesQuestionMarks) {
    for (const auto& c : gbkToUtf8Cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(gbkToUtf8(c.input), c.expected);
    }
}

TEST(GbkConversion, ConvertsTextLongerThanOneWorkingBuffer) {
    std::string utf8;
    std::string gbk;
    for (int i = 0; i < 5000; ++i) {
        utf8 += "串口가";
        gbk += "\xB4\xAE\xBF\xDA?";
    }
    EXPECT_EQ(utf8ToGbk(utf8), gbk);

    std::string gbkWithInvalid;
    std::string expectedUtf8;
    for (int i = 0; i < 5000; ++i) {
        gbkWithInvalid += "\xC3\xFC\xFF";
        expectedUtf8 += "命?";
    }
    EXPECT_EQ(gbkToUtf8(gbkWithInvalid), expectedUtf8);
}

TEST(GbkConversion, EachCallStartsAfresh) {
    // The converter is kept between calls; a call cut short must not affect the next one.
    EXPECT_EQ(gbkToUtf8("\xB4"), "?");
    EXPECT_EQ(gbkToUtf8("\xAE"), "?");
    EXPECT_EQ(utf8ToGbk("\xE4"), "?");
    EXPECT_EQ(utf8ToGbk("\xB8\xB2"), "??");
}

} // namespace
} // namespace lumivert
