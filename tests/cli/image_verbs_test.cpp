#include "tests/cli/run_lumivert.h"
#include "tests/support/temp_folder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace lumivert {
namespace {

using testing::lumivert;
using testing::Outcome;

TEST(ImageVerbs, InfoOnAFreshFolderReportsEveryRegionEmpty) {
    testing::TempFolder folder;
    const Outcome run = lumivert({"-C", folder.path().string(), "image", "info"});
    ASSERT_EQ(run.status, 0) << run.err;

    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line); // heading
    int regions = 0;
    while (std::getline(lines, line)) {
        ++regions;
        std::istringstream fields(line);
        std::string name, pages, offsets;
        long used = -1;
        long blocks = -1;
        fields >> name >> pages >> offsets >> used >> blocks;
        EXPECT_EQ(used, 0) << line;
        EXPECT_EQ(blocks, 0) << line;
    }
    EXPECT_EQ(regions, 8);
    EXPECT_NE(run.out.find("gb12              80-847      0x005000-0x034FFF"), std::string::npos)
        << run.out;
}

TEST(ImageVerbs, ExportWritesTheWholeImage) {
    testing::TempFolder folder;
    const auto file = folder / "flash.bin";
    const Outcome run = lumivert({"-C", folder.path().string(), "image", "export", file.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(std::filesystem::file_size(file), 2097152u);
    EXPECT_FALSE(std::filesystem::exists(folder / "work")) << "a reading verb saved the store";
}

TEST(ImageVerbs, ExportOfAStoredImageGivesItsBytes) {
    testing::TempFolder folder;
    std::filesystem::create_directories(folder / "work");
    std::string store(2097153, static_cast<char>(0x94));
    store[2097151] = 0x6B; // image offset 0 holds 0x00
    std::ofstream(folder / "work" / "sdata.tmp", std::ios::binary) << store;

    const auto file = folder / "flash.bin";
    ASSERT_EQ(lumivert({"-C", folder.path().string(), "image", "export", file.string()}).status, 0);
    std::ifstream exported(file, std::ios::binary);
    EXPECT_EQ(exported.get(), 0x00);
    EXPECT_EQ(exported.get(), 0xFF);
}

TEST(CommandLine, FailuresAndUsageErrorsHaveTheirOwnStatus) {
    testing::TempFolder folder;
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message; // part of standard error
    };
    const Case cases[] = {
        {{"image", "export", (folder / "missing" / "flash.bin").string()}, 1, "Cannot create file"},
        {{"-C", (folder / "nowhere").string(), "image", "info"}, 1, "nowhere"},
        {{"image"}, 2, ""},
        {{"no-such-verb"}, 2, ""},
        {{"image", "export"}, 2, "FILE"},
    };
    for (const auto& c : cases) {
        const Outcome run = lumivert(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back();
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST(CommandLine, HelpListsTheVerbs) {
    const Outcome run = lumivert({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("image info"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("image export FILE"), std::string::npos) << run.out;
}

} // namespace
} // namespace lumivert
