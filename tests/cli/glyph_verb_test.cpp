#include "tests/cli/run_lumivert.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace lumivert::testing {
namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        result.push_back(line);
    }
    return result;
}

TEST(GlyphVerb, PrintsTheDotsBytesWidthAndFaceOfTheFontTabsDefaults) {
    TempFolder folder;
    const Outcome run = lumivert({"-C", folder.path().string(), "glyph", "薄"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 24u + 1 + 5 + 1 + 1) << run.out;
    for (int row = 0; row < 24; ++row) {
        EXPECT_EQ(out[row].size(), 24u) << row;
        EXPECT_EQ(out[row].find_first_not_of("#."), std::string::npos) << out[row];
    }
    EXPECT_NE(run.out.find('#'), std::string::npos);
    EXPECT_EQ(out[24], "bytes 72");
    EXPECT_EQ(out[25].size(), 16u * 3 - 1);
    EXPECT_EQ(out[30], "width 24");
    EXPECT_EQ(out[31].rfind("薄 AR PL UMing CN: /", 0), 0u) << out[31];
    EXPECT_TRUE(std::filesystem::is_empty(folder.path())) << "the verb wrote a file";
}

TEST(GlyphVerb, RenderOptions) {
    const Outcome half = lumivert(
        {"glyph", "AB", "--half", "--dots", "24", "--width", "12", "--x", "2", "--y", "-1"});
    ASSERT_EQ(half.status, 0) << half.err;
    const auto out = lines(half.out);
    EXPECT_EQ(out[0].size(), 12u);
    EXPECT_EQ(out[24], "bytes 36");
    EXPECT_EQ(out[28], "width 24");
    EXPECT_EQ(out[29].rfind("A ", 0), 0u);
    EXPECT_EQ(out[30].rfind("B ", 0), 0u);

    const Outcome fallback = lumivert({"glyph", "刏", "--dots", "16", "--height", "16"});
    ASSERT_EQ(fallback.status, 0) << fallback.err;
    EXPECT_EQ(lines(fallback.out)[16], "bytes 32");
    EXPECT_EQ(fallback.out.find("UMing"), std::string::npos) << fallback.out;
}

TEST(GlyphVerb, ReportsFieldsThatAreNotNumbers) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"glyph", "中", "--dots", "x"}, 1, "'x' is not a valid integer value"},
        {{"glyph", "中", "--height", "二十"}, 1, "'二十' is not a valid integer value"},
        {{"glyph", "中", "--half", "--width", "w"}, 1, "'w' is not a valid integer value"},
        {{"glyph", "中", "--dots", "5000"}, 1, "too large to print"},
        {{"glyph"}, 2, "TEXT"},
    };
    for (const auto& c : cases) {
        const Outcome run = lumivert(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back();
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_EQ(lumivert({"glyph", "中", "--width", "w"}).status, 0)
        << "full-width characters never read the width";
}

} // namespace
} // namespace lumivert::testing
