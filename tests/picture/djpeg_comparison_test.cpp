// The converted pixels of photograph-like pictures equal an independent decoding of the same
// files by libjpeg-turbo's djpeg, turned into RGB565 column by column.
#include "common/gbk.h"
#include "picture/picture_conversion.h"
#include "picture/rgb565.h"
#include "tests/picture/picture_fixtures.h"
#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace lumivert::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Netpbm {
    int width = 0;
    int height = 0;
    int channels = 0;
    Bytes samples;
};

// A binary PGM ("P5") or PPM ("P6") file with 8-bit samples, as djpeg writes it.
Netpbm readNetpbm(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    Netpbm image;
    file >> magic >> image.width >> image.height >> maxValue;
    file.get();
    image.channels = magic == "P6" ? 3 : 1;
    image.samples.resize(static_cast<std::size_t>(image.width) * image.height * image.channels);
    file.read(reinterpret_cast<char*>(image.samples.data()),
              static_cast<std::streamsize>(image.samples.size()));
    EXPECT_TRUE((magic == "P5" || magic == "P6") && maxValue == 255 && file) << path;
    return image;
}

Bytes columnOrderRgb565(const Netpbm& image) {
    Bytes bytes;
    for (int x = 0; x < image.width; ++x) {
        for (int y = 0; y < image.height; ++y) {
            const std::uint8_t* sample =
                image.samples.data() +
                (static_cast<std::size_t>(y) * image.width + x) * image.channels;
            const std::uint8_t red = sample[0];
            const std::uint8_t green = sample[image.channels == 3 ? 1 : 0];
            const std::uint8_t blue = sample[image.channels == 3 ? 2 : 0];
            bytes.push_back(rgb565High(red, green));
            bytes.push_back(rgb565Low(green, blue));
        }
    }
    return bytes;
}

Netpbm decodeWithDjpeg(const std::filesystem::path& picture, bool greyscale) {
    const auto output = picture.parent_path() / "djpeg.pnm";
    const std::string command = std::string("djpeg -pnm ") +
                                (greyscale ? "-colors 236 -onepass -dither fs " : "") +
                                "-outfile '" + output.string() + "' '" + picture.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return readNetpbm(output);
}

TEST(DjpegComparison, ConvertedPixelsEqualAnIndependentDecoding) {
    TempFolder folder;
    WorkingDirectory workingDirectory(folder.path());
    std::filesystem::create_directory(folder / "pic");
    struct Case {
        const char* what;
        Pixels pixels;
        JpegSettings settings;
    };
    const Case cases[] = {
        {"colour, chroma halved both ways", photoPixels(317, 203, false, 1), {.quality = 85}},
        {"colour, full chroma",
         photoPixels(160, 97, false, 2),
         {.quality = 95, .fullChroma = true}},
        {"colour, progressive",
         photoPixels(243, 150, false, 3),
         {.quality = 75, .progressive = true}},
        {"greyscale", photoPixels(301, 211, true, 4), {.quality = 80}},
        {"greyscale, progressive",
         photoPixels(128, 77, true, 5),
         {.quality = 60, .progressive = true}},
    };
    for (const auto& c : cases) {
        writePicture(folder / "pic" / "12.jpg", c.pixels, c.settings);
        const Netpbm reference = decodeWithDjpeg(folder / "pic" / "12.jpg", c.pixels.greyscale);
        ASSERT_EQ(reference.width, c.pixels.width) << c.what;

        auto workbench = std::make_unique<Workbench>();
        workbench->reset();
        workbench->generateMode = 1;
        workbench->writeCursor = 1048576;
        PictureSink sink;
        convertPicture(*workbench, "12", sink);

        const Bytes expected = columnOrderRgb565(reference);
        const auto image = workbench->image.image();
        const Bytes stored(image.begin() + 1048576,
                           image.begin() + 1048576 + static_cast<long>(expected.size()));
        EXPECT_EQ(stored, expected) << c.what;
    }
}

} // namespace
} // namespace lumivert::testing
