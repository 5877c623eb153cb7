#include "common/gbk.h"
#include "common/workbench_error.h"
#include "picture/picture_conversion.h"
#include "tests/picture/picture_fixtures.h"
#include "tests/picture/recording_sink.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace lumivert::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A working directory with its `pic` folder and a workbench in its start-up state.
class PictureConversionTest : public ::testing::Test {
protected:
    PictureConversionTest() {
        std::filesystem::create_directory(folder_ / "pic");
        workbench_->reset();
    }

    std::filesystem::path pic(const std::string& name) const {
        return folder_ / "pic" / (name + ".jpg");
    }

    PictureOutcome convert(const std::string& name) {
        return convertPicture(*workbench_, utf8ToGbk(name), sink_);
    }

    std::string errorOf(const std::string& name) {
        try {
            convert(name);
        } catch (const WorkbenchError& error) {
            return error.what();
        }
        return "no error";
    }

    Bytes imageBytes(std::int64_t offset, std::size_t count) const {
        Bytes bytes;
        for (std::size_t i = 0; i < count; ++i) {
            bytes.push_back(workbench_->image.load(offset + static_cast<std::int64_t>(i)));
        }
        return bytes;
    }

    bool imageUntouched() const {
        const auto image = workbench_->image.image();
        return std::all_of(image.begin(), image.end(), [](std::uint8_t b) { return b == 0xFF; });
    }

    void generating(std::int32_t writeCursor) {
        workbench_->generateMode = 1;
        workbench_->writeCursor = writeCursor;
    }

    TempFolder folder_;
    WorkingDirectory workingDirectory_{folder_.path()};
    std::unique_ptr<Workbench> workbench_ = std::make_unique<Workbench>();
    RecordingSink sink_;
};

TEST_F(PictureConversionTest, FourColoursGiveTheirEntryAndPixelsInColumnOrder) {
    writeFourColours(pic("3"));
    generating(1048576);
    const PictureOutcome outcome = convert("3");
    EXPECT_TRUE(outcome.written);
    EXPECT_TRUE(outcome.allPixelsStored);
    EXPECT_EQ(imageBytes(16408, 8), (Bytes{0x00, 0x02, 0x00, 0x02, 0x00, 0x10, 0x00, 0x00}));
    EXPECT_EQ(imageBytes(1048576, 8), (Bytes{0xF8, 0x00, 0x00, 0x1F, 0x07, 0xE0, 0xFF, 0xFF}));
    EXPECT_EQ(imageBytes(1048584, 1), Bytes{0xFF});
    EXPECT_EQ(workbench_->writeCursor, 1048584);
    EXPECT_EQ(sink_.lines, (std::vector<std::string>{"调入：3.jpg (宽:2  高:2)", "处理完成！"}));
    EXPECT_EQ(sink_.drawn, std::vector<std::string>{"2x2"});
}

TEST_F(PictureConversionTest, EntryHoldsTheSizesBigEndianAndBlackAndWhite) {
    Pixels pixels = solidPixels(256, 3, 0, 0, 0);
    std::fill(pixels.bytes.begin() + std::ptrdiff_t{3} * 256, pixels.bytes.end(),
              0xFF); // rows 1 and 2 white
    writePicture(pic("10"), pixels, {.quality = 100, .fullChroma = true});
    generating(0x123456);
    convert("10");
    EXPECT_EQ(imageBytes(16384 + 80, 8), (Bytes{0x01, 0x00, 0x00, 0x03, 0x00, 0x12, 0x34, 0x56}));
    EXPECT_EQ(imageBytes(0x123456, 6), (Bytes{0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(PictureConversionTest, PreviewWritesNothingAndMovesTheCursorByTwoPerPixel) {
    writePicture(pic("7"), photoPixels(320, 240, false));
    workbench_->writeCursor = 1000;
    const PictureOutcome outcome = convert("7");
    EXPECT_FALSE(outcome.written);
    EXPECT_TRUE(imageUntouched());
    EXPECT_EQ(workbench_->writeCursor, 1000 + 2 * 320 * 240);
    EXPECT_EQ(sink_.lines,
              (std::vector<std::string>{"调入：7.jpg (宽:320  高:240)", "处理完成！"}));
}

TEST_F(PictureConversionTest, TheLargestSideIs1499) {
    writePicture(pic("1"), photoPixels(1499, 1499, false), {.quality = 50});
    generating(1048576);
    const PictureOutcome outcome = convert("1");
    EXPECT_TRUE(outcome.written);
    EXPECT_FALSE(outcome.allPixelsStored) << "1499 x 1499 pixels are more than the region holds";
    EXPECT_EQ(imageBytes(16392, 8), (Bytes{0x05, 0xDB, 0x05, 0xDB, 0x00, 0x10, 0x00, 0x00}));
    EXPECT_EQ(workbench_->writeCursor, 0x200000);
}

// The size is read from the header, and a refused picture is not decoded, so nothing of it
// is shown: an 8000 x 6000 progressive picture without chroma subsampling is more than the
// decoder would take into its memory.
TEST_F(PictureConversionTest, PicturesOf1500OrMoreAreLoggedThenRefusedUnseen) {
    struct Case {
        int width, height;
        bool claimed; // a header claiming the size over the data of a small progressive picture
    };
    for (const auto& [width, height, claimed] :
         {Case{1500, 10, false}, Case{10, 1500, false}, Case{8000, 6000, true}}) {
        sink_.lines.clear();
        if (claimed) {
            writeClaimedPicture(pic("2"), width, height, 0, {.fullChroma = true});
        } else {
            writePicture(pic("2"), photoPixels(width, height, false));
        }
        generating(1048576);
        const PictureOutcome outcome = convert("2");
        EXPECT_FALSE(outcome.written);
        EXPECT_TRUE(imageUntouched());
        EXPECT_EQ(workbench_->writeCursor, 1048576);
        EXPECT_EQ(sink_.lines,
                  (std::vector<std::string>{"调入：2.jpg (宽:" + std::to_string(width) +
                                                "  高:" + std::to_string(height) + ")",
                                            "高度或宽度超过1500，未处理"}));
    }
    EXPECT_TRUE(sink_.drawn.empty());
}

TEST_F(PictureConversionTest, CursorStopsAtTheEndOfTheFlash) {
    writePicture(pic("4"), solidPixels(1, 3, 255, 255, 255), {.quality = 100});
    generating(2097150);
    const PictureOutcome outcome = convert("4");
    EXPECT_TRUE(outcome.written);
    EXPECT_FALSE(outcome.allPixelsStored);
    EXPECT_EQ(imageBytes(2097150, 2), (Bytes{0xFF, 0xFF}));
    EXPECT_EQ(workbench_->image.load(2097152), 0xFF) << "the spare byte was written";
    EXPECT_EQ(workbench_->writeCursor, 2097152);
    EXPECT_EQ(imageBytes(16384 + 32, 8), (Bytes{0x00, 0x01, 0x00, 0x03, 0x00, 0x1F, 0xFF, 0xFE}));

    // Later pictures record the end of the flash as their start and store nothing.
    writeFourColours(pic("5"));
    convert("5");
    EXPECT_EQ(imageBytes(16384 + 40, 8), (Bytes{0x00, 0x02, 0x00, 0x02, 0x00, 0x20, 0x00, 0x00}));
    EXPECT_EQ(workbench_->writeCursor, 2097152);
}

TEST_F(PictureConversionTest, FileNameUsesTheTextAndTheEntryTheNumber) {
    writeFourColours(pic("007"));
    generating(1048576);
    convert("007");
    EXPECT_EQ(imageBytes(16384 + 56, 2), (Bytes{0x00, 0x02}));
    EXPECT_EQ(sink_.lines.front(), "调入：007.jpg (宽:2  高:2)");
}

TEST_F(PictureConversionTest, NumberThatDoesNotReadFailsAfterTheLoadLine) {
    writeFourColours(pic("a"));
    generating(1048576);
    EXPECT_EQ(errorOf("a"), "'a' is not a valid integer value");
    EXPECT_EQ(sink_.lines, std::vector<std::string>{"调入：a.jpg (宽:2  高:2)"});
    EXPECT_EQ(sink_.drawn.size(), 1u);
    EXPECT_TRUE(imageUntouched());
    EXPECT_EQ(workbench_->writeCursor, 1048576);
}

// Entry 0 is never used and the entry of 512 would lie on the 12-dot font's first glyph.
TEST_F(PictureConversionTest, BatchWritesOnlyNumbers1To511) {
    for (const char* name : {"0", "512", "-1"}) {
        sink_.lines.clear();
        writeFourColours(pic(name));
        generating(1048576);
        const PictureOutcome outcome = convert(name);
        EXPECT_FALSE(outcome.written) << name;
        EXPECT_EQ(sink_.lines.back(), "图片编号超出1-511，未处理") << name;
        EXPECT_EQ(sink_.lines.size(), 2u) << name;
        EXPECT_TRUE(imageUntouched()) << name;
        EXPECT_EQ(workbench_->writeCursor, 1048576) << name;
    }
    // A preview of any number is fine.
    workbench_->generateMode = 0;
    sink_.lines.clear();
    convert("512");
    EXPECT_EQ(sink_.lines.back(), "处理完成！");
}

TEST_F(PictureConversionTest, FilesThatCannotBeDecodedShowAndLogNothing) {
    writeBytes(pic("6"), {0xFF, 0xD8, 0xFF});
    writeClaimedPicture(pic("7"), 1499, 1499, 100000, {});
    generating(1048576);
    EXPECT_EQ(errorOf("6").rfind("JPEG error #", 0), 0u);
    EXPECT_NE(errorOf("7").find("/pic/7.jpg\" has more than 1000 scans"), std::string::npos);
    EXPECT_EQ(errorOf("8").rfind("Cannot open file \"", 0), 0u);
    EXPECT_NE(errorOf("8").find("/pic/8.jpg\". No such file or directory."), std::string::npos);
    EXPECT_TRUE(sink_.lines.empty());
    EXPECT_TRUE(sink_.drawn.empty());
    EXPECT_TRUE(imageUntouched());
    EXPECT_EQ(workbench_->writeCursor, 1048576);
}

TEST_F(PictureConversionTest, FileCutInsideItsScanDataConverts) {
    writePicture(pic("9"), photoPixels(120, 90, false));
    const Bytes whole = readBytes(pic("9"));
    writeBytes(pic("9"), {whole.begin(), whole.begin() + static_cast<long>(whole.size() * 2 / 3)});
    generating(1048576);
    EXPECT_TRUE(convert("9").allPixelsStored);
    EXPECT_EQ(workbench_->writeCursor, 1048576 + 2 * 120 * 90);
    EXPECT_EQ(sink_.lines.back(), "处理完成！");
}

} // namespace
} // namespace lumivert::testing
