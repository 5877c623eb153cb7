#include "common/workbench_error.h"
#include "picture/colour_calculator.h"

#include <gtest/gtest.h>

namespace lumivert {
namespace {

TEST(ColourCalculator, ConvertsTypedColours) {
    struct Case {
        const char* text;
        const char* decimal;
        const char* caption;
    };
    const Case cases[] = {
        {"FF0000", "63488", "(0xF800)"},    {"00FF00", "2016", "(0x07E0)"},
        {"0000FF", "31", "(0x001F)"},       {"FFFFFF", "65535", "(0xFFFF)"},
        {"000000", "0", "(0x0000)"},        {"808080", "33808", "(0x8410)"},
        {"123456", "4522", "(0x11AA)"},     {"ff0000", "63488", "(0xF800)"},
        {"1FF0000", "63488", "(0xF800)"},   {"FFFFFFFF", "31", "(0x001F)"},
        {"0000000000FF", "31", "(0x001F)"},
    };
    for (const auto& c : cases) {
        const ModuleColour colour = convertColourText(c.text);
        EXPECT_EQ(colour.decimal, c.decimal) << c.text;
        EXPECT_EQ(colour.caption, c.caption) << c.text;
    }
}

TEST(ColourCalculator, TakesBareHexadecimalDigitsOnly) {
    for (const char* text : {"", "$FF0000", "0xFF0000", "FF 0000", " FF0000", "FF0000 ", "FF0000\t",
                             "-1", "+FF", "GG0000", "100000000"}) {
        try {
            convertColourText(text);
            ADD_FAILURE() << "'" << text << "' was taken";
        } catch (const WorkbenchError& error) {
            EXPECT_EQ(error.what(), "'$" + std::string(text) + "' is not a valid integer value");
        }
    }
}

TEST(ColourCalculator, ChosenColourAsDigits) {
    EXPECT_EQ(colourDigits(255, 128, 0), "FF8000");
    EXPECT_EQ(colourDigits(0, 10, 171), "000AAB");
}

} // namespace
} // namespace lumivert
