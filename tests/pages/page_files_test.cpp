#include "common/text_file.h"
#include "common/workbench_error.h"
#include "pages/page_files.h"
#include "tests/support/temp_folder.h"

#include <fstream>
#include <gtest/gtest.h>

namespace lumivert {
namespace {

using testing::TempFolder;

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(PageFilesTest, ALinePerCellAnEmptyLineAsOneSpace) {
    struct Case {
        const char* name;
        std::string text;
        PageRow row;
    };
    const Case cases[] = {
        {"three lines", "5\r\nMenu\r\nAB|R|ACD\r\n", {"5", "Menu", "AB|R|ACD"}},
        {"empty lines", "7\r\n\r\n\r\n", {"7", " ", " "}},
        {"a fourth line is dropped", "1\r\na\r\nb\r\nc\r\n", {"1", "a", "b"}},
        {"only a number", "12\r\n", {"12", "", ""}},
        {"bare line feeds and no final break", "2\nx\ny", {"2", "x", "y"}},
        {"bare carriage returns", "2\rx\ry\r", {"2", "x", "y"}},
        {"a zero byte ends the text", std::string("3\r\nab\0c\r\nd\r\n", 11), {"3", "ab", ""}},
        {"empty file", "", {"", "", ""}},
    };
    for (const auto& [name, text, row] : cases) {
        EXPECT_EQ(pageRowFromText(text), row) << name;
    }
}

// A first run without page files writes each page as its number and two empty lines; the
// next run reads those back as one space each and writes the spaces.
TEST(PageFilesTest, UnusedPagesRoundTripAsTheWorkbenchAlwaysWroteThem) {
    TempFolder folder;
    const auto src = folder / "src";
    const auto first = loadPageFiles(src);
    ASSERT_EQ(first.rows.size(), 128u);
    EXPECT_EQ(first.rows[6], (PageRow{"7", "", ""}));
    EXPECT_TRUE(first.errors.empty());

    EXPECT_TRUE(savePageFiles(src, first.rows, {}).empty());
    EXPECT_EQ(readWholeFile(src / "Page7.str"), "7\r\n\r\n\r\n");
    EXPECT_TRUE(std::filesystem::exists(src / "Page128.str"));
    EXPECT_FALSE(std::filesystem::exists(src / "Page129.str"));

    const auto second = loadPageFiles(src);
    EXPECT_EQ(second.rows[6], (PageRow{"7", " ", " "}));
    savePageFiles(src, second.rows, {});
    EXPECT_EQ(readWholeFile(src / "Page7.str"), "7\r\n \r\n \r\n");
}

TEST(PageFilesTest, KeepsWhatItsFilesHold) {
    TempFolder folder;
    const auto src = folder / "src";
    std::filesystem::create_directory(src);
    writeFile(src / "Page3.str", "12\r\n");
    writeFile(src / "Page4.str",
              "4\r\n\xB2\xCB\xB5\xA5\r\nDS12(0,0,'\xD6\xD0',15);|R|ACLS(0);\r\nx\r\n");
    const auto loaded = loadPageFiles(src);
    EXPECT_EQ(loaded.rows[2], (PageRow{"12", "", ""}));
    EXPECT_EQ(loaded.rows[3],
              (PageRow{"4", "\xB2\xCB\xB5\xA5", "DS12(0,0,'\xD6\xD0',15);|R|ACLS(0);"}));

    savePageFiles(src, loaded.rows, {});
    EXPECT_EQ(readWholeFile(src / "Page3.str"), "12\r\n\r\n\r\n");
    EXPECT_EQ(readWholeFile(src / "Page4.str"),
              "4\r\n\xB2\xCB\xB5\xA5\r\nDS12(0,0,'\xD6\xD0',15);|R|ACLS(0);\r\n");
}

// A page file that cannot be read is reported and never overwritten with an empty page.
TEST(PageFilesTest, AnUnreadablePageFileIsReportedAndLeftAlone) {
    TempFolder folder;
    const auto src = folder / "src";
    std::filesystem::create_directories(src / "Page9.str");
    const auto loaded = loadPageFiles(src);
    EXPECT_EQ(loaded.unreadable, std::vector<int>{9});
    ASSERT_EQ(loaded.errors.size(), 1u);
    EXPECT_NE(loaded.errors[0].find("Cannot open file"), std::string::npos) << loaded.errors[0];
    EXPECT_EQ(loaded.rows[8], (PageRow{"9", "", ""}));

    EXPECT_TRUE(savePageFiles(src, loaded.rows, loaded.unreadable).empty());
    EXPECT_TRUE(std::filesystem::is_directory(src / "Page9.str"));
    EXPECT_TRUE(std::filesystem::exists(src / "Page10.str"));
}

TEST(PageFilesTest, AFileThatCannotBeWrittenCostsNoOtherPage) {
    TempFolder folder;
    const auto src = folder / "src";
    std::filesystem::create_directories(src / "Page2.str");
    std::vector<PageRow> rows;
    for (int page = 1; page <= 128; ++page) {
        rows.push_back(numberOnlyRow(page));
    }
    const auto errors = savePageFiles(src, rows, {});
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Cannot create file"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("Page2.str"), std::string::npos) << errors[0];
    EXPECT_EQ(readWholeFile(src / "Page3.str"), "3\r\n\r\n\r\n");

    writeFile(folder / "blocker", "");
    EXPECT_THROW(savePageFiles(folder / "blocker" / "src", rows, {}), WorkbenchError);
}

} // namespace
} // namespace lumivert
