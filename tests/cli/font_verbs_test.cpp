#include "common/gbk.h"
#include "image/image_store.h"
#include "tests/cli/run_lumivert.h"
#include "tests/font/font_generation_fixtures.h"
#include "tests/support/temp_folder.h"

#include <fstream>
#include <gtest/gtest.h>

namespace lumivert::testing {
namespace {

class FontVerbsTest : public ::testing::Test {
protected:
    Outcome run(std::vector<std::string> args) {
        args.insert(args.begin(), {"-C", folder.path().string()});
        return lumivert(args);
    }

    std::vector<std::uint8_t> stored(std::int64_t offset, std::int64_t count) const {
        auto workbench = std::make_unique<Workbench>();
        workbench->reset();
        ImageStore(folder / "work" / "sdata.tmp").load(workbench->image);
        return imageBytes(*workbench, offset, count);
    }

    TempFolder folder;
};

TEST_F(FontVerbsTest, TheGb2312SetsWithTheirRenderOptions) {
    struct Case {
        std::vector<std::string> args;
        const char* out;
        GlyphParameters parameters; // of 中
        std::int64_t middle;
    };
    GlyphParameters sixteen;
    sixteen.dotSize = "16";
    sixteen.fontHeight = "16";
    GlyphParameters halfTwelve;
    halfTwelve.dotSize = "12";
    halfTwelve.fontHeight = "14";
    halfTwelve.fontWidth = "6";
    halfTwelve.halfWidth = true;
    halfTwelve.xOffset = "1";
    halfTwelve.face = utf8ToGbk("新宋体");
    const Case cases[] = {
        {{"fonts", "gb16"}, "8178 glyphs at 217088 to 478783\n", sixteen, 378016},
        {{"fonts", "gb12", "--half", "--height", "14", "--x", "1", "--face", "新宋体"},
         "8178 glyphs at 20480 to 118615\n",
         halfTwelve,
         20480 + 5029 * 12},
    };
    for (const Case& c : cases) {
        const Outcome outcome = run(c.args);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, c.out);
        EXPECT_EQ(outcome.err, "") << "progress drawn where no terminal is";
        const auto bytes = glyphBytes(c.parameters, "\xD6\xD0");
        EXPECT_EQ(stored(c.middle, std::ssize(bytes)), bytes);
    }
    EXPECT_EQ(stored(217088 + 8178 * 32, 1), std::vector<std::uint8_t>{0xFF});
}

TEST_F(FontVerbsTest, UsageAndRenderErrors) {
    const Outcome dots = run({"fonts", "gb12", "--dots", "24"});
    EXPECT_EQ(dots.status, 2);
    const Outcome height = run({"fonts", "gb16", "--height", "x"});
    EXPECT_EQ(height.status, 1);
    EXPECT_EQ(height.err, "lumivert: 'x' is not a valid integer value\n");
    const Outcome none = run({"fonts"});
    EXPECT_EQ(none.status, 2);
}

TEST_F(FontVerbsTest, AsciiCopiesWorkAsc) {
    const Outcome missing = run({"fonts", "ascii"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "lumivert: Cannot open file \"" + (folder / "work" / "asc").string() +
                               "\". No such file or directory.\n");

    std::ofstream(folder / "work" / "asc", std::ios::binary) << "ASCII";
    const Outcome copied = run({"fonts", "ascii"});
    ASSERT_EQ(copied.status, 0) << copied.err;
    EXPECT_EQ(copied.out, "");
    EXPECT_EQ(stored(479232, 6), (std::vector<std::uint8_t>{'A', 'S', 'C', 'I', 'I', 0}));
}

TEST_F(FontVerbsTest, ExtractedTakesTheRowsOfTheFontFiles) {
    std::filesystem::create_directory(folder / "src");
    std::ofstream(folder / "src" / "Font1.str", std::ios::binary)
        << "1\r\n24\r\n24\r\n" + utf8ToGbk("中国") + "\r\n" + utf8ToGbk("宋体") +
               "\r\n24\r\n24\r\n0\r\n0\r\n\r\n\r\n\r\n";
    const Outcome outcome = run({"fonts", "extracted"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "row 1: 2 characters\nrow 2: 1 character\nrow 3: 0 characters\n"
                           "row 4: 1 character\nrow 5: 0 characters\nrow 6: 1 character\n"
                           "row 7: 0 characters\nrow 8: 1 character\n"
                           "glyphs at 483328 to 483975\n");
    EXPECT_EQ(stored(8192, 12),
              (std::vector<std::uint8_t>{0xD6, 0xD0, 0, 0, 0xB9, 0xFA, 0, 9, 0, 0x20, 0, 18}));

    std::string many;
    for (int i = 0; i < 600; ++i) {
        many += static_cast<char>(0xB0 + i / 94);
        many += static_cast<char>(0xA1 + i % 94);
    }
    std::ofstream(folder / "src" / "Font1.str", std::ios::binary)
        << "1\r\n24\r\n24\r\n" + many + "\r\n" + utf8ToGbk("宋体") + "\r\n24\r\n24\r\n0\r\n0\r\n";
    const Outcome refused = run({"fonts", "extracted"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "lumivert: Font rows 1 and 2 have 601 characters to extract; their "
                           "index holds 512. Nothing was generated.\n");
    EXPECT_EQ(stored(8192, 4), (std::vector<std::uint8_t>{0xD6, 0xD0, 0, 0}));
}

} // namespace
} // namespace lumivert::testing
