#include "common/gbk.h"
#include "font/ascii_font.h"
#include "font/extracted_fonts.h"
#include "font/full_set_font.h"
#include "inspect/image_check.h"
#include "pages/page_region.h"
#include "picture/picture_batch.h"
#include "tests/inspect/inspect_fixtures.h"
#include "tests/support/temp_folder.h"

#include <functional>
#include <gtest/gtest.h>

namespace lumivert::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A small image with no fault: rows 1 and 2 extract 中国 and AB at 24 dots, two pictures'
// entries, one page; the rest erased.
class ImageCheckTest : public ::testing::Test, protected ExtractedImage {
protected:
    ImageCheckTest() {
        emptyAllRows();
        setRow(1, utf8ToGbk("中国"), 24, false);
        setRow(2, "AB", 24, true);
        generate();
        store(0x4008, {0, 4, 0, 2, 0, 0x10, 0x00, 0x00}); // picture 1: 16 bytes
        store(0x4010, {0, 2, 0, 2, 0, 0x10, 0x00, 0x10}); // picture 2: right behind it
        std::vector<PageRow> pages(128);
        pages[0][2] = utf8ToGbk("DS16(0,0,'中国AB',1);");
        buildPageRegion(workbench->image, workbench->regionMap, pages);
    }

    CheckReport check() {
        return checkImage(workbench->image, workbench->regionMap,
                          {extractedRows(table, workbench->regionMap)}, faces);
    }

    std::vector<std::string> problems() {
        std::vector<std::string> lines;
        for (const std::string& line : check().problems) {
            lines.push_back(gbkToUtf8(line));
        }
        return lines;
    }

    FaceCoverage faces;
};

TEST_F(ImageCheckTest, FindsNothingInAnImageWithoutFaults) {
    const CheckReport report = check();
    EXPECT_EQ(report.problems, std::vector<std::string>{});
    EXPECT_EQ(report.summary, "No problems found: 4 extracted characters, 2 pictures, 1 page.");
}

// One planted fault a rule; each is found, named and placed, and nothing else is.
TEST_F(ImageCheckTest, FindsEachPlantedFault) {
    struct Case {
        const char* rule;
        std::function<void(ExtractedImage&)> plant;
        const char* problem; // UTF-8
    };
    const Case cases[] = {
        {"glyph outside its region",
         [](ExtractedImage& i) {
             i.store(0x2010, {0xC8, 0xCB, 0xD3, 0xFF});
         },
         "rows 1-2, entry 4, 人 (C8CB): its glyph at 0x0DFFF8 to 0x0E003F runs past the glyph "
         "region's end 0x0DFFFF"},
        {"glyphs overlapping",
         [](ExtractedImage& i) {
             i.store(0x2010, {0xC8, 0xCB, 0x00, 0x00});
         },
         "rows 1-2, entry 4, 人 (C8CB): its glyph at 0x076000 to 0x076047 overlaps the glyph of "
         "rows 1-2, entry 0, 中 (D6D0)"},
        {"blank glyph", [](ExtractedImage& i) { i.store(0x76048, Bytes(72, 0x00)); },
         "rows 1-2, entry 1, 国 (B9FA): its glyph at 0x076048 is blank, but the face of row 1 "
         "draws the character"},
        {"duplicate character",
         [](ExtractedImage& i) {
             i.store(0x2010, {0xD6, 0xD0, 0x00, 0x20});
         },
         "rows 1-2: 中 (D6D0) has entries 0 and 4; the module finds only the first"},
        {"pictures overlapping",
         [](ExtractedImage& i) {
             i.store(0x4018, {0, 2, 0, 2, 0, 0x10, 0x00, 0x08});
         },
         "picture 3: its pixels at 0x100008 to 0x10000F overlap those of picture 1"},
        {"picture past the flash",
         [](ExtractedImage& i) {
             i.store(0x4018, {0, 16, 0, 16, 0, 0x1F, 0xFF, 0x00});
         },
         "picture 3: its pixels at 0x1FFF00 to 0x2000FF run past the end of the flash 0x1FFFFF"},
        {"picture before its region",
         [](ExtractedImage& i) {
             i.store(0x4018, {0, 1, 0, 1, 0, 0x0F, 0xFF, 0xFE});
         },
         "picture 3: its pixels at 0x0FFFFE to 0x0FFFFF start before the picture data region "
         "0x100000"},
        {"page without its 0x00", [](ExtractedImage& i) { i.store(0xE0400, Bytes(1024, 'Q')); },
         "page 2: its slot at 0x0E0400 has no 0x00 to end its text; the module reads on past "
         "the slot"},
        {"blank cell of a full set",
         [](ExtractedImage& i) {
             i.store(0x35000, Bytes(32, 0x00)); // 16 dots: the ideographic space, blank by nature
             i.store(0x35000 + 1410 * 32, Bytes(32, 0x00)); // 啊
         },
         "gb16: the cell of 啊 (B0A1) at 0x040040 is blank, but its face draws the character"},
        {"character no font holds",
         [](ExtractedImage& i) {
             std::vector<PageRow> pages(128);
             pages[0][2] = utf8ToGbk("DS16(0,0,'中刏刏',1);");
             buildPageRegion(i.workbench->image, i.workbench->regionMap, pages);
         },
         "page 1: 刏 (845A) is neither in the GB2312 set nor in an extracted font, so the module "
         "cannot show it"},
    };
    const Bytes before(workbench->image.image().begin(), workbench->image.image().end());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        store(0, before);
        c.plant(*this);
        EXPECT_EQ(problems(), std::vector<std::string>{c.problem});
    }
}

TEST_F(ImageCheckTest, TellsWhatEachRegionTakesOfItsCapacity) {
    struct Expected {
        const char* name;
        std::int64_t used;
        std::int64_t capacity;
    };
    const Expected expected[] = {
        {"extracted-index", 16, 8192},
        {"picture-index", 16, 4096},
        {"gb12", 0, 196608},
        {"gb16", 0, 262144},
        {"ascii", 0, 4096},
        {"extracted-glyphs", 220, 434176},
        {"pages", 22, 131072},
        {"picture-data", 24, 1048576},
    };
    const CheckReport report = check();
    ASSERT_EQ(report.regions.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(report.regions[i].name, expected[i].name);
        EXPECT_EQ(report.regions[i].used, expected[i].used) << expected[i].name;
        EXPECT_EQ(report.regions[i].capacity, expected[i].capacity) << expected[i].name;
    }
}

// The demo folder's fonts, ASCII font and pictures, freshly generated, hold no fault.
TEST(DemoImageCheckTest, FindsNothingInTheDemosImage) {
    TempFolder folder;
    std::filesystem::copy(LUMIVERT_DEMO_FOLDER, folder.path(),
                          std::filesystem::copy_options::recursive);
    WorkingDirectory inside(folder.path());
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    FontTable table;
    table.load("src");
    FontEditorState editor;
    GlyphRasterizer rasterizer;
    FontGenerationSink shown;
    CountingHost host;
    generateExtractedFonts(*workbench, table, editor, rasterizer, shown, host);
    copyAsciiFont(*workbench, kAsciiFontFile);
    PictureSink pictures;
    convertAllPictures(*workbench, pictures, host);

    FaceCoverage faces;
    const CheckReport report = checkImage(workbench->image, workbench->regionMap,
                                          {extractedRows(table, workbench->regionMap)}, faces);
    EXPECT_EQ(report.problems, std::vector<std::string>{});
    EXPECT_EQ(report.summary.rfind("No problems found: ", 0), 0u) << report.summary;
}

// A face may draw a character wholly outside the 16-dot cell (￣, a mark above the line):
// its blank cell is what the generation gives, and no fault of the image.
TEST(FullSetCheckTest, AFreshlyGeneratedSetHasNoProblems) {
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    GlyphRasterizer rasterizer;
    FontGenerationSink shown;
    OperationHost host;
    GlyphParameters parameters;
    parameters.fontHeight = "16";
    generateFullSetFont(*workbench, rasterizer, FullSetFont::Dots16, parameters, shown, host);
    FaceCoverage faces;
    const CheckReport report = checkImage(workbench->image, workbench->regionMap, {}, faces);
    EXPECT_EQ(report.problems, std::vector<std::string>{});
}

} // namespace
} // namespace lumivert::testing
