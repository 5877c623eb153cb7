#include "font/extracted_fonts.h"
#include "tests/font/font_generation_fixtures.h"

#include <gtest/gtest.h>

namespace lumivert::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::int64_t kIndexBase = 8192;
constexpr std::int64_t kGlyphBase = 483328;
constexpr std::int64_t kGlyphEnd = 917504;

// `count` different GB2312 characters from 啊 (B0 A1) on.
std::string hanzi(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += static_cast<char>(0xB0 + i / 94);
        text += static_cast<char>(0xA1 + i % 94);
    }
    return text;
}

class ExtractedFontsTest : public ::testing::Test {
protected:
    ExtractedFontsTest() { workbench->reset(); }

    // Gives a row a content, a dot size and a width, the rest as the default rows have it.
    void setRow(int row, const std::string& content, const std::string& dotSize = "24",
                bool halfWidth = false) {
        FontEditorValues values;
        values.parameters.dotSize = dotSize;
        values.parameters.fontHeight = dotSize;
        values.parameters.fontWidth = "12";
        values.parameters.halfWidth = halfWidth;
        values.content = content;
        table.commitRow(row, values);
    }

    void emptyAllRows() {
        for (int row = 1; row <= kFontDefinitions; ++row) {
            setRow(row, "", "24", row % 2 == 0);
        }
    }

    void generate() { generateExtractedFonts(*workbench, table, editor, rasterizer, shown, host); }

    std::string failure() {
        return errorOf([&] { generate(); });
    }

    // The index entries from `offset` on, four bytes each, up to the first erased one.
    std::vector<Bytes> entries(std::int64_t offset) const {
        std::vector<Bytes> found;
        for (; !workbench->image.isErased(offset, 4); offset += 4) {
            found.push_back(imageBytes(*workbench, offset, 4));
        }
        return found;
    }

    std::unique_ptr<Workbench> workbench = std::make_unique<Workbench>();
    FontTable table;
    FontEditorState editor;
    GlyphRasterizer rasterizer;
    RecordingSink shown;
    CountingHost host;
};

TEST_F(ExtractedFontsTest, TheDefaultRowsGiveTheirSpacesAndNothingElse) {
    generate();
    Workbench expected;
    expected.reset();
    expected.image.store(8192, Bytes{0x00, 0x20, 0x00, 0x00});
    expected.image.store(10240, Bytes{0x00, 0x20, 0x00, 0x05});
    expected.image.store(12288, Bytes{0x00, 0x20, 0x00, 0x0D});
    expected.image.store(14336, Bytes{0x00, 0x20, 0x00, 0x1F});
    expected.image.store(483328, Bytes(36, 0));
    expected.image.store(483368, Bytes(64, 0));
    expected.image.store(483432, Bytes(144, 0));
    expected.image.store(483576, Bytes(256, 0));
    EXPECT_TRUE(imageCopy(*workbench) == imageCopy(expected)) << "more than the example changed";

    EXPECT_EQ(workbench->writeCursor, 483576 + 256);
    EXPECT_EQ(workbench->indexCursor, 14340);
    EXPECT_EQ(workbench->generateMode, 0);
    EXPECT_EQ(editor.currentRow, 8);
    EXPECT_FALSE(editor.editing);
    for (int row = 1; row <= kFontDefinitions; ++row) {
        EXPECT_EQ(table.cell(kStatusColumn, row), editingStatus()) << row;
    }
    EXPECT_EQ(shown.rows, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(shown.characters, std::vector<std::string>(4, " "));
    EXPECT_EQ(shown.previews, 4);
    EXPECT_EQ(host.lastDone, 8);
    EXPECT_EQ(host.lastTotal, 8);
}

// Row 1 is a full-width 24-dot row (72-byte glyphs, 9 units apart); row 2 a half-width
// 24-dot row (36-byte glyphs, 5 units apart).
TEST_F(ExtractedFontsTest, WhatARowExtracts) {
    struct Case {
        const char* what;
        std::string row1;
        std::string row2;
        std::vector<Bytes> entries;
    };
    const Case cases[] = {
        {"two characters", "\xD6\xD0\xB9\xFA", "", {{0xD6, 0xD0, 0, 0}, {0xB9, 0xFA, 0, 9}}},
        {"a pair across two characters is none",
         "\xD6\xD0\xB9\xFA\xD0\xB9",
         "",
         {{0xD6, 0xD0, 0, 0}, {0xB9, 0xFA, 0, 9}, {0xD0, 0xB9, 0, 18}}},
        {"the same character twice", "\xD6\xD0\xD6\xD0", "", {{0xD6, 0xD0, 0, 0}}},
        {"a letter in a full-width row",
         "\xD6\xD0"
         "A\xB9\xFA",
         "",
         {{0xD6, 0xD0, 0, 0}, {0xB9, 0xFA, 0, 9}}},
        {"a lone lead byte at the end", "\xD6\xD0\xB9", "", {{0xD6, 0xD0, 0, 0}}},
        {"a GBK character outside GB2312", "\x81\x40", "", {{0x81, 0x40, 0, 0}}},
        {"an empty odd row", "", "A B", {{0, 'A', 0, 0}, {0, ' ', 0, 5}, {0, 'B', 0, 10}}},
        {"a two-byte character in a half-width row, both bytes",
         "",
         "\xD6"
         "AB",
         {{0, 'B', 0, 0}}},
        {"both rows of a pair", "\xD6\xD0", "AA\xD6\xD0", {{0xD6, 0xD0, 0, 0}, {0, 'A', 0, 9}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        workbench->reset();
        emptyAllRows();
        setRow(1, c.row1);
        setRow(2, c.row2, "24", true);
        generate();
        EXPECT_EQ(entries(kIndexBase), c.entries);
        EXPECT_TRUE(workbench->image.isErased(10240, 16384 - 10240));
    }
}

TEST_F(ExtractedFontsTest, EachRowHasItsOwnListAndEachPairItsOwnTable) {
    emptyAllRows();
    setRow(1, "\xD6\xD0");
    setRow(3, "\xD6\xD0\xD6\xD0", "32");
    setRow(8, "7", "64", true);
    generate();
    EXPECT_EQ(entries(8192), (std::vector<Bytes>{{0xD6, 0xD0, 0, 0}}));
    EXPECT_EQ(entries(10240), (std::vector<Bytes>{{0xD6, 0xD0, 0, 9}}));
    EXPECT_EQ(entries(14336), (std::vector<Bytes>{{0, '7', 0, 25}}));
    EXPECT_EQ(imageBytes(*workbench, kGlyphBase + 72, 128),
              glyphBytes(table.loadRow(3).parameters, "\xD6\xD0"));
    EXPECT_EQ(workbench->writeCursor, kGlyphBase + 72 + 128 + 256);
}

TEST_F(ExtractedFontsTest, GlyphsStartAtMultiplesOfEightAndTheGapsKeepTheirBytes) {
    emptyAllRows();
    setRow(2, "AB", "25", true); // 12 x 25: 36 bytes
    generate();
    EXPECT_EQ(entries(8192), (std::vector<Bytes>{{0, 'A', 0, 0}, {0, 'B', 0, 5}}));
    EXPECT_TRUE(workbench->image.isErased(kGlyphBase + 36, 4));
    EXPECT_EQ(imageBytes(*workbench, kGlyphBase + 40, 36),
              glyphBytes(table.loadRow(2).parameters, "B"));
    EXPECT_EQ(workbench->writeCursor, kGlyphBase + 76);
}

// What does not fit is refused before anything is written. Odd rows are full-width and
// even rows half-width.
TEST_F(ExtractedFontsTest, RefusesWhatDoesNotFit) {
    struct RowSpec {
        int row;
        std::string content;
        const char* dots;
    };
    struct Case {
        const char* what;
        std::vector<RowSpec> rows;
        const char* message;
    };
    const std::string letters = [] { // every one-byte character but the line breaks
        std::string all;
        for (int c = 1; c <= 0x80; ++c) {
            if (c != '\r' && c != '\n') {
                all += static_cast<char>(c);
            }
        }
        return all;
    }();
    const Case cases[] = {
        {"513 entries for rows 3 and 4",
         {{3, hanzi(513 - 126), "24"}, {4, letters, "24"}},
         "Font rows 3 and 4 have 513 characters to extract; their index holds 512. "
         "Nothing was generated."},
        {"849 glyphs of 512 bytes",
         {{1, hanzi(212), "64"},
          {3, hanzi(212), "64"},
          {5, hanzi(212), "64"},
          {7, hanzi(213), "64"}},
         "The glyphs of the extracted characters need 434688 bytes; their region holds "
         "434176. Nothing was generated."},
        {"the gaps before glyphs that start at multiples of 8", // 847 x 512 + 14 x 36 fits
         {{1, hanzi(212), "64"},
          {3, hanzi(212), "64"},
          {5, hanzi(212), "64"},
          {6, letters.substr(64, 14), "25"},
          {7, hanzi(211), "64"}},
         "The glyphs of the extracted characters need 434224 bytes; their region holds "
         "434176. Nothing was generated."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        emptyAllRows();
        for (const RowSpec& spec : c.rows) {
            setRow(spec.row, spec.content, spec.dots, spec.row % 2 == 0);
        }
        workbench->reset();
        workbench->writeCursor = 5;
        workbench->indexCursor = 7;
        const auto before = imageCopy(*workbench);
        EXPECT_EQ(failure(), c.message);
        EXPECT_TRUE(imageCopy(*workbench) == before) << "the image changed";
        EXPECT_EQ(workbench->writeCursor, 5);
        EXPECT_EQ(workbench->indexCursor, 7);
        EXPECT_EQ(workbench->generateMode, 0);
        EXPECT_EQ(table.cell(kStatusColumn, 1), "");
        EXPECT_TRUE(shown.characters.empty());
    }
}

TEST_F(ExtractedFontsTest, FillsTheGlyphRegionToItsLastByte) {
    emptyAllRows();
    for (const int row : {1, 3, 5, 7}) {
        setRow(row, hanzi(212), "64");
    }
    setRow(2, hanzi(300), "24", true); // a half-width row: nothing to extract
    generate();
    EXPECT_EQ(workbench->writeCursor, kGlyphEnd);
    EXPECT_EQ(entries(14336).size(), 212u);
    EXPECT_EQ(entries(14336).back(), (Bytes{0xB2, 0xB8, 0xD3, 0xC0})); // 847 x 64 units
    EXPECT_EQ(workbench->image.load(kGlyphEnd), 0xFF);
}

// A row whose dot size is not a number ends the count: the pass writes the rows before it and
// fails at its first character, whose index entry is written.
TEST_F(ExtractedFontsTest, ARowThatFailsEndsThePassWithWhatCameBefore) {
    struct Case {
        const char* dots;
        std::string row5;
        const char* message;
    };
    const Case cases[] = {
        {"x", hanzi(600),
         "'x' is not a valid integer value"}, // row 5 beyond its index, never reached
        {"-1", "", "Division by zero"},       // a dot size that converts: counted on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dots);
        workbench->reset();
        emptyAllRows();
        setRow(1, "\xD6\xD0");
        // The dot size as the cell width too, which keeps the row full-width.
        table.setRowText(3, std::string("3\r\n") + c.dots + "\r\n" + c.dots + "\r\n\xB9\xFA\r\n" +
                                GlyphParameters{}.face + "\r\n24\r\n24\r\n0\r\n0");
        setRow(5, c.row5);
        EXPECT_EQ(failure(), c.message);
        EXPECT_EQ(entries(8192), (std::vector<Bytes>{{0xD6, 0xD0, 0, 0}}));
        EXPECT_EQ(entries(10240), (std::vector<Bytes>{{0xB9, 0xFA, 0, 9}}));
        EXPECT_TRUE(workbench->image.isErased(12288, 4));
        EXPECT_TRUE(workbench->image.isErased(kGlyphBase + 72, kGlyphEnd - kGlyphBase - 72));
        EXPECT_EQ(workbench->generateMode, 0);
        EXPECT_EQ(editor.currentRow, 3);
        EXPECT_EQ(table.cell(kStatusColumn, 4), "");
    }
}

TEST_F(ExtractedFontsTest, ACancelledPassStopsAtTheNextPosition) {
    emptyAllRows();
    setRow(1, hanzi(10));
    host.cancelAfter = 3;
    generate();
    EXPECT_EQ(entries(8192).size(), 3u);
    EXPECT_EQ(shown.rows, std::vector<int>{1});
    EXPECT_EQ(workbench->generateMode, 0);
}

} // namespace
} // namespace lumivert::testing
