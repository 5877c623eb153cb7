#include "common/integer_parse.h"
#include "common/workbench_error.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace lumivert {
namespace {

struct GoodCase {
    const char* text;
    std::int32_t expected;
};

const GoodCase goodCases[] = {
    {"0", 0},
    {"115200", 115200},
    {"+5", 5},
    {"-5", -5},
    {"-0", 0},
    {"007", 7},
    {"2147483647", 2147483647},
    {"-2147483648", INT32_MIN},
    {"$0", 0},
    {"$ff", 255},
    {"$Ff", 255},
    {"$7FFFFFFF", 2147483647},
    {"$80000000", INT32_MIN},
    {"$FFFFFFFF", -1},
    {"$000000001", 1},
    {"-$1A", -26},
    {"+$10", 16},
    {"-$FFFFFFFF", 1},
    {"   42", 42},
    {"42  ", 42},
    {"\t-7 \t", -7},
};

TEST(ParseInteger, ReadsDecimalAndDollarHex) {
    for (const auto& c : goodCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseInteger(c.text), c.expected);
    }
}

const char* const badCases[] = {
    "",           "   ",         "+",
    "-",          "$",           "-$",
    "2147483648", "-2147483649", "99999999999999999999",
    "$100000000", "$123456789",  "$G",
    "12a",        "1 2",         "- 5",
    "$ 5",        "$-5",         "+-1",
    "1.5",        "1e3",         "0x10",
    "5\r\n",
    "\xA3\xB1", // full-width digit one in GBK
};

TEST(ParseInteger, RejectsWhatIsNotAnInteger) {
    for (const char* text : badCases) {
        SCOPED_TRACE(testing::PrintToString(std::string(text)));
        try {
            parseInteger(text);
            ADD_FAILURE() << "no error";
        } catch (const WorkbenchError& error) {
            EXPECT_EQ(error.what(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

// A field of the window arrives in GBK; its message, like every message, is UTF-8.
TEST(ParseInteger, ShowsAGbkFieldInItsMessageAsUtf8) {
    EXPECT_EQ(parseGbkInteger("-$1A"), -26);
    try {
        parseGbkInteger("\xB6\xFE\xCA\xAE"); // 二十
        ADD_FAILURE() << "no error";
    } catch (const WorkbenchError& error) {
        EXPECT_STREQ(error.what(), "'二十' is not a valid integer value");
    }
}

} // namespace
} // namespace lumivert
