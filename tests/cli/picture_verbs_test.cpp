#include "image/image_store.h"
#include "tests/cli/run_lumivert.h"
#include "tests/picture/picture_fixtures.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <sstream>

namespace lumivert {
namespace {

using testing::Outcome;

class PictureVerbsTest : public ::testing::Test {
protected:
    PictureVerbsTest() { std::filesystem::create_directory(folder_ / "pic"); }

    Outcome lumivert(std::vector<std::string> args) {
        args.insert(args.begin(), {"-C", folder_.path().string()});
        return testing::lumivert(args);
    }

    void picture(const std::string& name, int width, int height) {
        testing::writePicture(folder_ / "pic" / (name + ".jpg"),
                              testing::solidPixels(width, height, 0, 0, 0));
    }

    // The stored image's bytes at `offset`.
    std::vector<std::uint8_t> stored(std::int64_t offset, std::size_t count) const {
        FlashImage image;
        ImageStore(folder_ / "work" / "sdata.tmp").load(image);
        std::vector<std::uint8_t> bytes;
        for (std::size_t i = 0; i < count; ++i) {
            bytes.push_back(image.load(offset + static_cast<std::int64_t>(i)));
        }
        return bytes;
    }

    testing::TempFolder folder_;
};

TEST_F(PictureVerbsTest, PicturesConvertsIntoTheStoredImage) {
    picture("1", 3, 2);
    picture("3", 1500, 1);
    picture("4", 2, 2);
    const Outcome run = lumivert({"pictures"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "调入：1.jpg (宽:3  高:2)\n处理完成！\n"
                       "调入：3.jpg (宽:1500  高:1)\n高度或宽度超过1500，未处理\n"
                       "调入：4.jpg (宽:2  高:2)\n处理完成！\n");
    EXPECT_EQ(run.err, "") << "progress drawn where no terminal is";
    EXPECT_EQ(stored(16384 + 8, 8), (std::vector<std::uint8_t>{0, 3, 0, 2, 0, 0x10, 0, 0}));
    EXPECT_EQ(stored(16384 + 32, 8), (std::vector<std::uint8_t>{0, 2, 0, 2, 0, 0x10, 0, 12}));
}

// --dither changes the pixels of a shaded picture and nothing else; without it the bytes
// stay those of the truncation.
TEST_F(PictureVerbsTest, DitherDiffusesTheColoursOfThePixelsOnly) {
    testing::writePicture(folder_ / "pic" / "1.jpg", testing::photoPixels(40, 30, false));
    constexpr std::size_t kPixelBytes = std::size_t{2} * 40 * 30;
    ASSERT_EQ(lumivert({"pictures"}).status, 0);
    const auto truncated = stored(1048576, kPixelBytes + 8);
    const auto entry = stored(16384 + 8, 8);
    const Outcome run = lumivert({"pictures", "--dither"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "调入：1.jpg (宽:40  高:30)\n处理完成！\n");
    const auto dithered = stored(1048576, kPixelBytes + 8);
    EXPECT_NE(dithered, truncated);
    EXPECT_EQ(stored(16384 + 8, 8), entry);
    EXPECT_EQ(std::vector(dithered.begin() + kPixelBytes, dithered.end()),
              std::vector<std::uint8_t>(8, 0xFF));
    ASSERT_EQ(lumivert({"pictures"}).status, 0);
    EXPECT_EQ(stored(1048576, kPixelBytes + 8), truncated);
}

TEST_F(PictureVerbsTest, FailingPictureStillSavesThePicturesBeforeIt) {
    picture("1", 3, 2);
    testing::writeBytes(folder_ / "pic" / "2.jpg", {0x89, 'P', 'N', 'G'});
    const Outcome run = lumivert({"pictures"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "调入：1.jpg (宽:3  高:2)\n处理完成！\n");
    EXPECT_EQ(run.err.rfind("lumivert: JPEG error #", 0), 0u) << run.err;
    EXPECT_EQ(stored(16384 + 8, 2), (std::vector<std::uint8_t>{0, 3}));
}

TEST_F(PictureVerbsTest, PictureIsAPreviewOfTheTextAsTyped) {
    picture("007", 5, 4);
    Outcome run = lumivert({"picture", "007"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "调入：007.jpg (宽:5  高:4)\n处理完成！\n");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "work")) << "a preview saved the image";

    picture("a", 5, 4);
    run = lumivert({"picture", "a"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "调入：a.jpg (宽:5  高:4)\n");
    EXPECT_EQ(run.err, "lumivert: 'a' is not a valid integer value\n");

    run = lumivert({"picture", "8"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Cannot open file"), std::string::npos) << run.err;
}

// Arguments are bytes: a file name that is not UTF-8, or holds a character GBK lacks, names
// its own file and not the one its '?'-replaced text would. The log shows the name as text;
// not being a number, it then fails as any such name does.
TEST_F(PictureVerbsTest, PictureNamesKeepTheirBytes) {
    picture("??", 1, 1);
    picture("?", 1, 1);
    struct Case {
        std::string name;
        std::string shown;
    };
    const Case cases[] = {
        {"\xFF\xFE", "??"}, {"\xF0\x9F\x98\x80", "?"}, // U+1F600, which GBK lacks
    };
    for (const auto& c : cases) {
        picture(c.name, 5, 4);
        const Outcome run = lumivert({"picture", c.name});
        EXPECT_EQ(run.out, "调入：" + c.shown + ".jpg (宽:5  高:4)\n") << run.err;
        EXPECT_EQ(run.err, "lumivert: '" + c.shown + "' is not a valid integer value\n");
    }
}

// The batch names its files by number; a working directory whose name is not UTF-8 is used as
// it is.
TEST_F(PictureVerbsTest, PicturesWorksInAFolderWhoseNameIsNotUtf8) {
    const std::filesystem::path folder = folder_ / "\xFF\xFE";
    std::filesystem::create_directories(folder / "pic");
    testing::writePicture(folder / "pic" / "1.jpg", testing::solidPixels(3, 2, 0, 0, 0));
    const Outcome run = testing::lumivert({"-C", folder.string(), "pictures"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "调入：1.jpg (宽:3  高:2)\n处理完成！\n");
    EXPECT_TRUE(std::filesystem::exists(folder / "work" / "sdata.tmp"));
}

TEST_F(PictureVerbsTest, ColourPrintsBothOutputs) {
    Outcome run = lumivert({"colour", "FF0000"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "63488 (0xF800)\n");

    run = lumivert({"colour", "0xFF"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "lumivert: '$0xFF' is not a valid integer value\n");
}

TEST_F(PictureVerbsTest, MistypedVerbIsNamed) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"picturs"}, "lumivert: unknown verb \"picturs\"\n"},
        {{"image", "infoo"}, "lumivert: unknown verb \"image infoo\"\n"},
    };
    for (const auto& c : cases) {
        const Outcome run = lumivert(c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind(c.message, 0), 0u) << run.err;
    }
    EXPECT_EQ(lumivert({"picture"}).status, 2);
}

} // namespace
} // namespace lumivert
