#include "common/gbk.h"
#include "common/workbench_error.h"
#include "font/font_table.h"
#include "tests/support/temp_folder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace lumivert {
namespace {

std::string gbk(const char* utf8) {
    return utf8ToGbk(utf8);
}

// A row as its cells joined by '|', in UTF-8.
std::string rowText(const FontTable& table, int row) {
    std::string text;
    for (int column = 0; column < kFontTableColumns; ++column) {
        text += (column == 0 ? "" : "|") + gbkToUtf8(table.cell(column, row));
    }
    return text;
}

std::string fileContent(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void writeFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

TEST(FontTable, HeadingAndDefaultRows) {
    const FontTable table;
    EXPECT_EQ(rowText(table, 0), "序号|宽|高|内容字|字体|字宽|字高|X偏差|Y偏差|状态||");
    const char* const rows[] = {
        "1|24|24| |宋体|24|24|0|0|||", "2|12|24| |宋体|12|24|0|0|||", "3|32|32| |宋体|32|32|0|0|||",
        "4|16|32| |宋体|16|32|0|0|||", "5|48|48| |宋体|48|48|0|0|||", "6|24|48| |宋体|24|48|0|0|||",
        "7|64|64| |宋体|64|64|0|0|||", "8|32|64| |宋体|32|64|0|0|||",
    };
    for (int row = 1; row <= 8; ++row) {
        EXPECT_EQ(rowText(table, row), rows[row - 1]);
        EXPECT_EQ(table.halfWidth(row), row % 2 == 0) << row;
    }
    for (int row = 9; row <= 16; ++row) {
        EXPECT_EQ(rowText(table, row), "|||||||||||") << row;
    }
}

TEST(FontTable, RowTextRule) {
    FontTable table;
    table.setRowText(1, "a\r\n\r\nb\rc\nd\r\n");
    EXPECT_EQ(rowText(table, 1), "a| |b|c|d|||||||");
    table.setRowText(1, "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14");
    EXPECT_EQ(rowText(table, 1), "1|2|3|4|5|6|7|8|9|10|11|12");
    table.setRowText(1, "");
    EXPECT_EQ(rowText(table, 1), "|||||||||||");
}

TEST(FontTable, FilesRoundTripAndAreTwelveCrLfLines) {
    testing::TempFolder folder;
    const auto src = folder / "src"; // missing: saving creates it
    FontTable table;
    FontEditorState editor;
    ASSERT_TRUE(selectFontRow(editor, 3));
    FontEditorValues values = table.loadRow(3);
    values.content = gbk("中国");
    values.parameters.xOffset = "-2";
    ASSERT_TRUE(commitFontRow(table, editor, values));
    table.loadRow(5); // saved while being edited
    table.save(src);

    EXPECT_EQ(fileContent(src / "Font1.str"),
              gbk("1\r\n24\r\n24\r\n \r\n宋体\r\n24\r\n24\r\n0\r\n0\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(fileContent(src / "Font5.str"),
              gbk("5\r\n48\r\n48\r\n \r\n宋体\r\n48\r\n48\r\n0\r\n0\r\n编辑中\r\n\r\n\r\n"));
    EXPECT_FALSE(std::filesystem::exists(src / "Font9.str"));

    // The empty lines of the two unused columns come back as a single space each.
    FontTable loaded;
    loaded.load(src);
    EXPECT_EQ(rowText(loaded, 3), "3|32|32|中国|宋体|32|32|-2|0|| | ");
    EXPECT_EQ(rowText(loaded, 5), "5|48|48| |宋体|48|48|0|0|| | ") << "the status survived";
    EXPECT_EQ(rowText(loaded, 8), "8|32|64| |宋体|32|64|0|0|| | ");
    EXPECT_EQ(rowText(loaded, 9), "|||||||||||");
}

TEST(FontTable, ShortFilesEmptyLinesAndMissingFiles) {
    testing::TempFolder folder;
    writeFile(folder / "Font2.str", "2\r\n8\r\n16\r\n\r\nSimSun");
    writeFile(folder / "Font4.str", "");
    FontTable table;
    table.load(folder.path());
    EXPECT_EQ(rowText(table, 2), "2|8|16| |SimSun|||||||");
    EXPECT_EQ(rowText(table, 4), "|||||||||||");
    EXPECT_EQ(rowText(table, 1), "1|24|24| |宋体|24|24|0|0|||");
}

// A file that exists but cannot be read is reported; its row keeps the default and the
// file is not written over at the end.
TEST(FontTable, AnUnreadableFileIsReportedAndNotWrittenOver) {
    testing::TempFolder folder;
    std::filesystem::create_directory(folder / "Font3.str");
    FontTable table;
    try {
        table.load(folder.path());
        ADD_FAILURE() << "no error";
    } catch (const WorkbenchError& error) {
        EXPECT_NE(std::string(error.what()).find("Font3.str"), std::string::npos) << error.what();
    }
    EXPECT_EQ(rowText(table, 3), "3|32|32| |宋体|32|32|0|0|||");
    table.save(folder.path());
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Font3.str"));
    EXPECT_TRUE(std::filesystem::exists(folder / "Font8.str"));
}

TEST(FontTable, SaveReportsWhatCannotBeWritten) {
    testing::TempFolder folder;
    writeFile(folder / "src", "a file in the folder's place");
    EXPECT_THROW(FontTable().save(folder / "src"), WorkbenchError);
    std::filesystem::create_directory(folder / "out");
    std::filesystem::create_directory(folder / "out" / "Font2.str");
    try {
        FontTable().save(folder / "out");
        ADD_FAILURE() << "no error";
    } catch (const WorkbenchError& error) {
        EXPECT_NE(std::string(error.what()).find("Cannot create file"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("Font2.str"), std::string::npos);
    }
    EXPECT_TRUE(std::filesystem::exists(folder / "out" / "Font8.str")) << "the others are saved";
}

TEST(FontTable, LoadingARowIntoTheEditor) {
    FontTable table;
    const FontEditorValues half = table.loadRow(2);
    EXPECT_EQ(half.parameters.face, gbk("宋体"));
    EXPECT_EQ(half.parameters.dotSize, "24");
    EXPECT_EQ(half.parameters.fontWidth, "12");
    EXPECT_EQ(half.parameters.fontHeight, "24");
    EXPECT_EQ(half.parameters.xOffset, "0");
    EXPECT_TRUE(half.parameters.halfWidth);
    EXPECT_EQ(half.content, " ");
    EXPECT_EQ(table.cell(kStatusColumn, 2), gbk("编辑中"));

    const FontEditorValues empty = table.loadRow(12);
    EXPECT_EQ(empty.parameters.face, "");
    EXPECT_EQ(empty.parameters.dotSize, "");
    EXPECT_FALSE(empty.parameters.halfWidth);
    EXPECT_EQ(empty.content, "");
}

TEST(FontTable, CommittingARow) {
    struct Case {
        const char* dotSize;
        bool halfWidth;
        const char* memo;
        const char* row; // afterwards
        bool halfWidthRow;
    };
    const Case cases[] = {
        {"25", true, "中国", "1|12|25|中国|黑体|9|-20|3|-1|||", true},
        {"12", true, "", "1|6|12||黑体|9|-20|3|-1|||", true},
        {"024", false, "A", "1|24|024|A|黑体|9|-20|3|-1|||", true},
        {"32", false, "中\r\n国\nAB", "1|32|32|中国AB|黑体|9|-20|3|-1|||", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dotSize);
        FontTable table;
        FontEditorState editor;
        ASSERT_TRUE(selectFontRow(editor, 1));
        FontEditorValues values = table.loadRow(1);
        values.parameters = {gbk("黑体"), c.dotSize, c.halfWidth, "-20", "9", "3", "-1"};
        values.content = gbk(c.memo);
        EXPECT_TRUE(commitFontRow(table, editor, values));
        EXPECT_EQ(rowText(table, 1), c.row);
        EXPECT_EQ(table.halfWidth(1), c.halfWidthRow);
        EXPECT_FALSE(editor.editing);
    }
}

TEST(FontTable, ACommitWithADotSizeThatIsNotANumberStopsHalfWay) {
    FontTable table;
    FontEditorState editor;
    ASSERT_TRUE(selectFontRow(editor, 4));
    FontEditorValues values = table.loadRow(4);
    values.parameters.dotSize = gbk("二十");
    values.parameters.face = "Face";
    values.content = "changed";
    try {
        commitFontRow(table, editor, values);
        ADD_FAILURE() << "no error";
    } catch (const WorkbenchError& error) {
        EXPECT_STREQ(error.what(), "'二十' is not a valid integer value");
    }
    EXPECT_EQ(rowText(table, 4), "4|16|二十| |Face|16|32|0|0|||");
    EXPECT_FALSE(editor.editing);
    EXPECT_FALSE(commitFontRow(table, editor, values)) << "committed twice";
}

TEST(FontEditorState, OneRowIsEditedAtATime) {
    FontEditorState editor;
    EXPECT_TRUE(selectFontRow(editor, 2));
    EXPECT_FALSE(selectFontRow(editor, 5));
    EXPECT_EQ(editor.currentRow, 2);
    FontTable table;
    EXPECT_TRUE(commitFontRow(table, editor, table.loadRow(2)));
    EXPECT_FALSE(commitFontRow(table, editor, table.loadRow(2)));
    EXPECT_TRUE(selectFontRow(editor, 2)) << "the committed row cannot be chosen again";
    editor.editing = false;
    for (int row : {0, 17, -1}) {
        EXPECT_FALSE(selectFontRow(editor, row)) << row;
        EXPECT_FALSE(editor.editing);
    }
    EXPECT_TRUE(selectFontRow(editor, 16));
}

} // namespace
} // namespace lumivert
