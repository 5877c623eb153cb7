#include "font/cp936_text.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lumivert {
namespace {

// The characters of GBK text: a lead byte (0x81 to 0xFE) with a byte that can trail it
// (0x40 to 0x7E, 0x80 to 0xFE) is one code; every other byte is one of its own.
TEST(Cp936TextTest, SplitsTextIntoItsCodes) {
    struct Case {
        std::string gbk;
        std::vector<std::uint16_t> codes;
    };
    const Case cases[] = {
        {"\xD6\xD0"
         "A",
         {0xD6D0, 0x41}},
        {"\x81\x40", {0x8140}},
        {"\xFE\xFE", {0xFEFE}},
        {"\x81|", {0x817C}},        // a "|" that trails a lead byte is part of it
        {"\x81\x7F", {0x81, 0x7F}}, // 0x7F trails nothing
        {"\x81\xFF", {0x81, 0xFF}},
        {"\x81\x3F", {0x81, 0x3F}},
        {"\xFF\x40", {0xFF, 0x40}}, // 0xFF leads nothing
        {"\x80\x40", {0x80, 0x40}},
        {"A\xD6", {0x41, 0xD6}}, // a lead byte at the end stands alone
        {"", {}},
    };
    std::vector<TextCharacter> characters;
    for (const auto& c : cases) {
        decodeCp936(c.gbk, characters);
        std::vector<std::uint16_t> codes;
        codes.reserve(characters.size());
        for (const auto& character : characters) {
            codes.push_back(character.code);
        }
        EXPECT_EQ(codes, c.codes) << testing::PrintToString(c.gbk);
    }
}

TEST(Cp936TextTest, MapsCodesToTheirCharacters) {
    std::vector<TextCharacter> characters;
    decodeCp936("\xD6\xD0\x80\xA1\xAA\xD7\xFA", characters);
    ASSERT_EQ(characters.size(), 4u);
    EXPECT_EQ(characters[0].codePoint, U'中');
    EXPECT_EQ(characters[1].codePoint, U'€');
    EXPECT_EQ(characters[2].codePoint, U'—');
    EXPECT_EQ(characters[3].codePoint, 0u) << "D7FA is unassigned";
}

} // namespace
} // namespace lumivert
