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

// The size comes from the header; a picture larger than the largest side keeps no pixels.
TEST(JpegDecoder, DecodesOnlyPicturesThatFitTheLargestSide) {
    TempFolder folder;
    struct Case {
        int width, height;
        bool greyscale, decoded;
    };
    for (const Case c : {Case{1600, 12, false, false}, Case{9, 1500, true, false},
                         Case{1499, 3, false, true}, Case{3, 1499, true, true}}) {
        writePicture(folder / "wide.jpg", photoPixels(c.width, c.height, c.greyscale));
        const DecodedPicture picture = decodeJpegFile(folder / "wide.jpg");
        EXPECT_EQ(picture.width, c.width);
        EXPECT_EQ(picture.height, c.height);
        EXPECT_EQ(picture.isWhole(), c.decoded) << c.width << " x " << c.height;
        const std::size_t pixels = c.decoded ? static_cast<std::size_t>(c.width) * c.height : 0;
        EXPECT_EQ(picture.rgbx.size(), pixels * 4);
    }
    writePicture(folder / "small.jpg", photoPixels(40, 30, false));
    EXPECT_FALSE(decodeJpegFile(folder / "small.jpg", 39).isWhole()) << "largest side 39";
    EXPECT_TRUE(decodeJpegFile(folder / "small.jpg", 40).isWhole()) << "largest side 40";
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

// Pictures made to be slow or to exhaust the memory: a header claiming a large size over the
// data of a small picture, many empty scans. Each is decided by its size before any scan is
// decoded, or stopped at its scans.
TEST(JpegDecoder, HostilePicturesAreRefusedBySizeOrStoppedAtTheirScans) {
    TempFolder folder;
    struct Case {
        const char* what;
        int width, height, scans; // 0: the picture's own scans
        JpegSettings settings;
        bool tooManyScans;
    };
    const Case cases[] = {
        {"8000 x 8000 grey, 20,000 scans", 8000, 8000, 20000, {.greyscale = true}, false},
        {"8000 x 6000 colour without subsampling", 8000, 6000, 0, {.fullChroma = true}, false},
        {"30,000 x 30,000 colour", 30000, 30000, 0, {}, false},
        {"1499 x 1499, 1,000 scans", 1499, 1499, 1000, {}, false},
        {"1499 x 1499, 1,001 scans", 1499, 1499, 1001, {}, true},
        {"1499 x 1499 grey, 100,000 scans", 1499, 1499, 100000, {.greyscale = true}, true},
    };
    const std::filesystem::path path = folder / "hostile.jpg";
    for (const Case& c : cases) {
        writeClaimedPicture(path, c.width, c.height, c.scans, c.settings);
        if (c.tooManyScans) {
            EXPECT_EQ(decodeError(path), "The picture \"" +
                                             std::filesystem::absolute(path).string() +
                                             "\" has more than 1000 scans and is not decoded.")
                << c.what;
            continue;
        }
        const DecodedPicture picture = decodeJpegFile(path);
        EXPECT_EQ(picture.width, c.width) << c.what;
        EXPECT_EQ(picture.height, c.height) << c.what;
        const bool fits = c.width <= 1499 && c.height <= 1499;
        EXPECT_EQ(picture.isWhole(), fits) << c.what;
        EXPECT_EQ(picture.rgbx.empty(), !fits) << c.what;
    }
}

} // namespace
} // namespace lumivert::testing
