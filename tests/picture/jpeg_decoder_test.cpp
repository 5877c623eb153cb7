#include "common/workbench_error.h"
#include "picture/jpeg_decoder.h"
#include "tests/picture/picture_fixtures.h"
#include "tests/support/temp_folder.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <jerror.h>
#include <jpeglib.h>
#include <string>

namespace lumivert::testing {
namespace {

std::string decodeError(const std::filesystem::path& path) {
    try {
        decodeJpegFile(path);
    } catch (const WorkbenchError& error) {
        return error.what();
    }
    return "no error";
}

std::string jpegError(int code) {
    return "JPEG error #" + std::to_string(code);
}

TEST(JpegDecoder, ColourPictureComesOutAsItsColours) {
    TempFolder folder;
    writeFourColours(folder / "four.jpg");
    const DecodedPicture picture = decodeJpegFile(folder / "four.jpg");
    ASSERT_EQ(picture.width, 2);
    ASSERT_EQ(picture.height, 2);
    ASSERT_TRUE(picture.isWhole());
    const std::uint8_t expected[2][2][3] = {{{255, 0, 0}, {0, 255, 0}},
                                            {{0, 0, 255}, {255, 255, 255}}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(picture.pixel(x, y)[c], expected[y][x][c], 3)
                    << "pixel " << x << "," << y << " channel " << c;
            }
        }
    }
}

TEST(JpegDecoder, GreyPictureComesOutAsEqualRedGreenBlue) {
    TempFolder folder;
    writePicture(folder / "grey.jpg", photoPixels(40, 30, true));
    const DecodedPicture picture = decodeJpegFile(folder / "grey.jpg");
    ASSERT_EQ(picture.rgbx.size(), 40u * 30u * 4u);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const std::uint8_t* rgb = picture.pixel(x, y);
            ASSERT_EQ(rgb[0], rgb[1]);
            ASSERT_EQ(rgb[1], rgb[2]);
        }
    }
}

TEST(JpegDecoder, KeepsOnlyWhatFallsOnThePictureView) {
    TempFolder folder;
    struct Case {
        int width, height, keptWidth, keptHeight;
        bool greyscale;
    };
    for (const Case c : {Case{1600, 12, 1500, 12, false}, Case{9, 1501, 9, 1500, true},
                         Case{1499, 3, 1499, 3, false}}) {
        writePicture(folder / "wide.jpg", photoPixels(c.width, c.height, c.greyscale));
        const DecodedPicture picture = decodeJpegFile(folder / "wide.jpg");
        EXPECT_EQ(picture.width, c.width);
        EXPECT_EQ(picture.height, c.height);
        EXPECT_EQ(picture.keptWidth, c.keptWidth);
        EXPECT_EQ(picture.keptHeight, c.keptHeight);
        EXPECT_EQ(picture.rgbx.size(), static_cast<std::size_t>(c.keptWidth) * c.keptHeight * 4);
    }
}

TEST(JpegDecoder, MissingFileCannotBeOpened) {
    TempFolder folder;
    EXPECT_EQ(decodeError(folder / "7.jpg"), "Cannot open file \"" + (folder / "7.jpg").string() +
                                                 "\". No such file or directory.");
    std::filesystem::create_directory(folder / "8.jpg");
    EXPECT_EQ(decodeError(folder / "8.jpg"),
              "Cannot open file \"" + (folder / "8.jpg").string() + "\". Is a directory.");
}

// Whatever the file holds, the decoder returns with the library's message code: it never
// ends the program, as the library's own error handler would.
TEST(JpegDecoder, RejectedFilesGiveTheLibrarysErrorNumber) {
    TempFolder folder;
    writePicture(folder / "good.jpg", photoPixels(64, 48, false));
    const std::vector<std::uint8_t> good = readBytes(folder / "good.jpg");
    std::vector<std::uint8_t> randomBytes(3000);
    for (std::size_t i = 0; i < randomBytes.size(); ++i) {
        randomBytes[i] = static_cast<std::uint8_t>((i * 7919 + 13) % 251);
    }
    const std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A,
                                           0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        int code;
    };
    const Case cases[] = {
        {"empty file", {}, JERR_INPUT_EMPTY},
        {"cut inside its headers", {good.begin(), good.begin() + 100}, JERR_NO_IMAGE},
        {"a PNG file", png, JERR_NO_SOI},
        {"random bytes", randomBytes, JERR_NO_SOI},
        {"only the start marker", {0xFF, 0xD8}, JERR_NO_IMAGE},
    };
    for (const auto& c : cases) {
        writeBytes(folder / "bad.jpg", c.bytes);
        EXPECT_EQ(decodeError(folder / "bad.jpg"), jpegError(c.code)) << c.what;
    }
}

TEST(JpegDecoder, FileCutInsideItsScanDataDecodesAsFarAsItsDataGo) {
    TempFolder folder;
    writePicture(folder / "whole.jpg", photoPixels(200, 160, false));
    const std::vector<std::uint8_t> whole = readBytes(folder / "whole.jpg");
    writeBytes(folder / "cut.jpg",
               {whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2)});

    const DecodedPicture complete = decodeJpegFile(folder / "whole.jpg");
    const DecodedPicture cut = decodeJpegFile(folder / "cut.jpg");
    ASSERT_EQ(cut.width, 200);
    ASSERT_EQ(cut.height, 160);
    // The top rows come from the data that is there.
    const std::size_t topRows = std::size_t{4} * 200 * 16;
    EXPECT_TRUE(std::equal(cut.rgbx.begin(), cut.rgbx.begin() + topRows, complete.rgbx.begin()));
    EXPECT_NE(cut.rgbx, complete.rgbx);
}

} // namespace
} // namespace lumivert::testing

namespace lumivert::testing {
namespace {

// A picture whose header claims 30,000 x 30,000 pixels: its frame header says so, its data is
// that of a small one.
void claimHugeSize(const std::filesystem::path& path, bool progressive) {
    writePicture(path, photoPixels(16, 16, false), {.progressive = progressive});
    std::vector<std::uint8_t> bytes = readBytes(path);
    const std::uint8_t frameMarker = progressive ? 0xC2 : 0xC0;
    for (std::size_t i = 0; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == frameMarker) {
            for (const std::size_t field : {i + 5, i + 7}) { // height, width
                bytes[field] = 30000 >> 8;
                bytes[field + 1] = 30000 & 0xFF;
            }
            break;
        }
    }
    writeBytes(path, bytes);
}

TEST(JpegDecoder, ClaimedHugeSizesCostNoMoreThanThePictureView) {
    TempFolder folder;
    claimHugeSize(folder / "baseline.jpg", false);
    const DecodedPicture picture = decodeJpegFile(folder / "baseline.jpg");
    EXPECT_EQ(picture.width, 30000);
    EXPECT_EQ(picture.height, 30000);
    EXPECT_EQ(picture.keptWidth, 1500);
    EXPECT_EQ(picture.keptHeight, 1500);

    // A progressive picture keeps every coefficient until its last scan: the library is not
    // given the memory for 30,000 x 30,000 of them.
    claimHugeSize(folder / "progressive.jpg", true);
    EXPECT_EQ(decodeError(folder / "progressive.jpg"), jpegError(JERR_NO_BACKING_STORE));
}

} // namespace
} // namespace lumivert::testing
