#include "image/image_store.h"
#include "image/workbench.h"
#include "tests/cli/run_lumivert.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace lumivert::testing {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The demo folder with its fonts, ASCII font and pictures generated into the stored image.
class InspectVerbsTest : public ::testing::Test {
protected:
    InspectVerbsTest() {
        std::filesystem::copy(LUMIVERT_DEMO_FOLDER, folder.path(),
                              std::filesystem::copy_options::recursive);
        for (const auto& verb :
             {std::vector<std::string>{"fonts", "extracted"}, {"fonts", "ascii"}, {"pictures"}}) {
            EXPECT_EQ(run(verb).status, 0);
        }
    }

    Outcome run(std::vector<std::string> args) {
        args.insert(args.begin(), {"-C", folder.path().string()});
        return lumivert(args);
    }

    // Changes the stored image.
    void plant(std::int64_t offset, const std::vector<std::uint8_t>& bytes) {
        auto workbench = std::make_unique<Workbench>();
        workbench->reset();
        ImageStore store(folder / "work" / "sdata.tmp");
        store.load(workbench->image);
        workbench->image.store(offset, std::span(bytes));
        store.save(workbench->image);
    }

    TempFolder folder;
};

TEST_F(InspectVerbsTest, CheckPassesTheDemoWithItsRegionsAndASummary) {
    const Outcome check = run({"image", "check"});
    ASSERT_EQ(check.status, 0) << check.out << check.err;
    const auto lines = linesOf(check.out);
    ASSERT_EQ(lines.size(), 10u) << check.out;
    EXPECT_EQ(lines[0], "region                used      free  capacity");
    EXPECT_EQ(lines[1], "extracted-index        396      7796      8192");
    EXPECT_EQ(lines[5], "ascii                 1560      2536      4096");
    EXPECT_EQ(lines[9], "No problems found: 99 extracted characters, 5 pictures, 0 pages.");
    EXPECT_EQ(check.err, "");
}

TEST_F(InspectVerbsTest, CheckNamesEachProblemAndFails) {
    plant(0x4000 + 8 * 9, {0, 16, 0, 16, 0, 0x1F, 0xFF, 0x00});
    plant(0xE0000, std::vector<std::uint8_t>(1024, 'Q'));
    const Outcome check = run({"image", "check"});
    EXPECT_EQ(check.status, 1);
    const auto lines = linesOf(check.out);
    ASSERT_EQ(lines.size(), 11u) << check.out;
    EXPECT_EQ(lines[0], "picture 9: its pixels at 0x1FFF00 to 0x2000FF run past the end of the "
                        "flash 0x1FFFFF");
    EXPECT_EQ(lines[1], "page 1: its slot at 0x0E0000 has no 0x00 to end its text; the module "
                        "reads on past the slot");
    EXPECT_EQ(lines[2], "region                used      free  capacity");
    EXPECT_EQ(check.err, "lumivert: The flash image has 2 problems.\n");
}

TEST_F(InspectVerbsTest, ShowListsTheTablesAndDrawsGlyphsFromTheBytes) {
    struct Case {
        std::vector<std::string> args;
        std::size_t lines;
        const char* first;
    };
    const Case cases[] = {
        {{"extracted"}, 99, "rows 1-2  entry 0  欢 (BBB6)  glyph 0x076000  row 1, 24 x 24"},
        {{"pictures"},
         5,
         "picture 1  320 x 240  start 0x100000  pixels to 0x1257FF  in the picture data region"},
        {{"pages"}, 128, "page 1  (empty)"},
        {{"gb12"}, 8178, "　 (A1A1)  0x005000  erased"},
        {{"extracted", "--chars", "欢"},
         1 + 24,
         "欢 (BBB6)  rows 1-2, entry 0  glyph 0x076000  row 1, 24 x 24"},
        {{"extracted", "--chars", "欢Z"}, 1 + 24 + 1, nullptr},
        {{"gb16", "--chars", "中A"}, 1 + 16 + 1, "中 (D6D0)  gb16  glyph 0x05C4A0  16 x 16"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"image", "show"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Outcome show = run(args);
        ASSERT_EQ(show.status, 0) << show.err;
        const auto lines = linesOf(show.out);
        ASSERT_EQ(lines.size(), c.lines) << show.out;
        if (c.first != nullptr) {
            EXPECT_EQ(lines.front(), c.first);
        }
    }
    const auto glyph = linesOf(run({"image", "show", "extracted", "--chars", "欢Z"}).out);
    EXPECT_EQ(glyph[1].size(), 24u);
    EXPECT_NE(glyph[5].find('#'), std::string::npos);
    EXPECT_EQ(glyph.back(), "Z (5A)  in no extracted font");
    const auto blank = linesOf(run({"image", "show", "gb16", "--chars", "A"}).out);
    EXPECT_EQ(blank, std::vector<std::string>{"A (41)  not in the GB2312 set"});
}

TEST_F(InspectVerbsTest, RenderWritesASheetOfTheRegion) {
    Outcome render = run({"image", "render", "extracted", "sheet.png"});
    ASSERT_EQ(render.status, 0) << render.err;
    EXPECT_EQ(render.out.rfind("99 glyphs, ", 0), 0u) << render.out;
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "sheet.png"));
    render = run({"image", "render", "pictures", "pictures.png", "--scale", "1"});
    ASSERT_EQ(render.status, 0) << render.err;
    EXPECT_EQ(render.out.rfind("5 pictures, ", 0), 0u) << render.out;
    render = run({"image", "render", "gb16", "one.png", "--chars", "中", "--scale", "3"});
    EXPECT_EQ(render.out.rfind("1 glyph, 60 x 78 pixels", 0), 0u) << render.out;
}

TEST_F(InspectVerbsTest, RefusesWhatItCannotDo) {
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{"image", "show", "fonts"}, 2},
        {{"image", "show", "pages", "--chars", "A"}, 1},
        {{"image", "render", "gb12"}, 2},
        {{"image", "render", "gb12", "x.png", "--scale", "0"}, 2},
        {{"image", "render", "pictures", "x.png", "--chars", "A"}, 1},
        {{"image", "render", "gb12", "no-such-folder/x.png"}, 1},
    };
    for (const auto& c : cases) {
        const Outcome refused = run(c.args);
        EXPECT_EQ(refused.status, c.status) << ::testing::PrintToString(c.args);
        EXPECT_NE(refused.err, "");
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "x.png"));
}

} // namespace
} // namespace lumivert::testing
