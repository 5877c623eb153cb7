#include "common/gbk.h"
#include "inspect/dot_matrix.h"
#include "inspect/extracted_index.h"
#include "inspect/page_slots.h"
#include "inspect/picture_index.h"
#include "pages/page_region.h"
#include "picture/picture_batch.h"
#include "tests/inspect/inspect_fixtures.h"
#include "tests/picture/picture_fixtures.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace lumivert::testing {
namespace {

constexpr std::int64_t kGlyphBase = 0x76000;

class DecodingTest : public ::testing::Test, protected ExtractedImage {
protected:
    std::vector<ExtractedEntry> entries() const {
        return readExtractedIndex(workbench->image, workbench->regionMap,
                                  extractedRows(table, workbench->regionMap));
    }
};

struct ExpectedEntry {
    int pair;
    int position;
    const char* character; // UTF-8
    int row;
    std::int64_t glyphOffset;
};

void expectEntries(const std::vector<ExtractedEntry>& entries,
                   const std::vector<ExpectedEntry>& expected) {
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].pair, expected[i].pair);
        EXPECT_EQ(entries[i].position, expected[i].position);
        EXPECT_EQ(gbkToUtf8(entries[i].character()), expected[i].character);
        EXPECT_EQ(entries[i].row, expected[i].row);
        EXPECT_EQ(entries[i].glyphOffset, expected[i].glyphOffset);
    }
}

// The generation's own example: each default row holds a single space.
TEST_F(DecodingTest, TheDefaultRowsDecodeToTheirSpaces) {
    generate();
    expectEntries(entries(), {{0, 0, " ", 2, 483328},
                              {1, 0, " ", 4, 483368},
                              {2, 0, " ", 6, 483432},
                              {3, 0, " ", 8, 483576}});
}

// Characters, rows and offsets come back as generated, each glyph dot for dot as the
// rasterizer drew it.
TEST_F(DecodingTest, ExtractedEntriesDecodeToTheCharactersTheirRowsAndTheirGlyphs) {
    emptyAllRows();
    setRow(1, utf8ToGbk("中国中A"), 24, false);
    setRow(2, utf8ToGbk("AB中B"), 24, true);
    setRow(4, "x", 32, true);
    setRow(5, utf8ToGbk("国"), 48, false);
    generate();
    const std::vector<ExtractedEntry> decoded = entries();
    expectEntries(decoded, {{0, 0, "中", 1, kGlyphBase},
                            {0, 1, "国", 1, kGlyphBase + 72},
                            {0, 2, "A", 2, kGlyphBase + 144},
                            {0, 3, "B", 2, kGlyphBase + 184},
                            {1, 0, "x", 4, kGlyphBase + 224},
                            {2, 0, "国", 5, kGlyphBase + 288}});
    for (const ExtractedEntry& entry : decoded) {
        SCOPED_TRACE(gbkToUtf8(entry.character()));
        const FontEditorValues row = table.rowValues(entry.row);
        ASSERT_TRUE(entry.cell);
        EXPECT_EQ(glyphAt(workbench->image, entry.glyphOffset, *entry.cell),
                  unpackGlyph(glyphBytes(row.parameters, entry.character()), *entry.cell));
    }
}

// Two rows of one width share a table: the odd row's characters come first, as many as its
// content extracts. An entry of a kind neither row extracts has no row and no size.
TEST_F(DecodingTest, RowsOfOneWidthSplitTheirTableByTheOddRowsCount) {
    emptyAllRows();
    setRow(1, utf8ToGbk("中国"), 24, false);
    setRow(2, utf8ToGbk("人"), 32, false);
    generate();
    store(0x2000 + 12, {0x00, 'A', 0x00, 0x40});
    const std::vector<ExtractedEntry> decoded = entries();
    expectEntries(decoded, {{0, 0, "中", 1, kGlyphBase},
                            {0, 1, "国", 1, kGlyphBase + 72},
                            {0, 2, "人", 2, kGlyphBase + 144},
                            {0, 3, "A", 0, kGlyphBase + 512}});
    EXPECT_EQ(decoded[2].cell, (GlyphCell{32, 32}));
    EXPECT_FALSE(decoded[3].cell);
}

TEST_F(DecodingTest, ATableEndsAtItsFirstEmptyEntryOrItsLast) {
    emptyAllRows();
    for (int i = 0; i < 512; ++i) {
        store(0x2800 + 4 * i, {0xB0, static_cast<std::uint8_t>(0xA1 + i % 94), 0, 0});
    }
    store(0x3000, {0xB0, 0xA1, 0, 0});
    store(0x3004, {0xFF, 0xFF, 0xFF, 0xFF});
    store(0x3008, {0xB0, 0xA2, 0, 0});
    const auto decoded = entries();
    EXPECT_EQ(
        std::count_if(decoded.begin(), decoded.end(), [](const auto& e) { return e.pair == 1; }),
        512);
    EXPECT_EQ(
        std::count_if(decoded.begin(), decoded.end(), [](const auto& e) { return e.pair == 2; }),
        1);
}

TEST(PictureDecodingTest, PictureEntriesDecodeToTheirSizesPlacesAndColours) {
    TempFolder folder;
    WorkingDirectory inside(folder.path());
    std::filesystem::create_directory("pic");
    writePicture("pic/1.jpg", solidPixels(3, 2, 0, 0, 0));
    writeFourColours("pic/2.jpg");
    writePicture("pic/5.jpg", solidPixels(4, 1, 255, 255, 255));
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    PictureSink sink;
    CountingHost host;
    convertAllPictures(*workbench, sink, host);
    workbench->image.store(0x4000 + 8 * 7, std::span<const std::uint8_t>(std::vector<std::uint8_t>{
                                               0, 16, 0, 16, 0, 0x1F, 0xFF, 0x00}));
    workbench->image.store(0x4000 + 8 * 9, std::span<const std::uint8_t>(std::vector<std::uint8_t>{
                                               0, 1, 0, 1, 0, 0x0F, 0xFF, 0xFE}));

    const std::vector<PictureEntry> pictures =
        readPictureIndex(workbench->image, workbench->regionMap);
    struct Expected {
        int number, width, height;
        std::int64_t start;
        bool inRegion, inFlash;
    };
    const Expected expected[] = {
        {1, 3, 2, 0x100000, true, true},  {2, 2, 2, 0x10000C, true, true},
        {5, 4, 1, 0x100014, true, true},  {7, 16, 16, 0x1FFF00, false, false},
        {9, 1, 1, 0x0FFFFE, false, true},
    };
    ASSERT_EQ(pictures.size(), std::size(expected));
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        SCOPED_TRACE(expected[i].number);
        EXPECT_EQ(pictures[i].number, expected[i].number);
        EXPECT_EQ(pictures[i].width, expected[i].width);
        EXPECT_EQ(pictures[i].height, expected[i].height);
        EXPECT_EQ(pictures[i].start, expected[i].start);
        EXPECT_EQ(pictures[i].insideDataRegion, expected[i].inRegion);
        EXPECT_EQ(pictures[i].insideFlash, expected[i].inFlash);
    }
    // Rows from the top: red, green; blue, white.
    EXPECT_EQ(pictureColours(workbench->image, pictures[1]),
              (std::vector<Rgb>{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}));
    EXPECT_TRUE(pictureColours(workbench->image, pictures[3]).empty());
}

TEST(PageDecodingTest, PageSlotsDecodeToTheTextsTheRegionBuildStored) {
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    std::vector<PageRow> rows(128);
    rows[0][2] = utf8ToGbk("DS12(0,0,'你好',15);");
    rows[2][2] = "  A|R|AB  ";
    rows[3][2] = std::string(1500, 'x');
    buildPageRegion(workbench->image, workbench->regionMap, rows);
    const std::vector<std::uint8_t> unterminated(1024, 'Q');
    workbench->image.store(0xE0000 + 5 * 1024, std::span(unterminated));
    workbench->image.store(0xE0000 + 6 * 1024,
                           std::span<const std::uint8_t>(std::vector<std::uint8_t>{'A', 'B', 'C'}));

    const std::vector<PageSlot> slots = readPageSlots(workbench->image, workbench->regionMap);
    ASSERT_EQ(slots.size(), 128u);
    using State = PageSlot::State;
    struct Expected {
        State state;
        std::string text;
    };
    const Expected expected[] = {
        {State::Text, rows[0][2]},    {State::Empty, ""},
        {State::Text, "AB"},          {State::Text, std::string(1023, 'x')},
        {State::Empty, ""},           {State::Unterminated, std::string(1024, 'Q')},
        {State::Unterminated, "ABC"}, {State::Empty, ""},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(slots[i].page, static_cast<int>(i + 1));
        EXPECT_EQ(slots[i].offset, 0xE0000 + static_cast<std::int64_t>(i) * 1024);
        EXPECT_EQ(slots[i].state, expected[i].state);
        EXPECT_EQ(slots[i].text, expected[i].text);
    }
}

} // namespace
} // namespace lumivert::testing
