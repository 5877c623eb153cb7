#include "picture/dithering.h"
#include "picture/rgb565.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>

namespace lumivert {
namespace {

// A smooth gradient, each channel rising slowly its own way across or down the picture.
DecodedPicture gradient(int width, int height) {
    DecodedPicture picture;
    picture.width = picture.keptWidth = width;
    picture.height = picture.keptHeight = height;
    picture.rgbx.resize(static_cast<std::size_t>(width) * height * DecodedPicture::kBytesPerPixel);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            auto* pixel = picture.rgbx.data() + (static_cast<std::size_t>(y) * width + x) *
                                                    DecodedPicture::kBytesPerPixel;
            pixel[0] = static_cast<std::uint8_t>(x * 255 / (width - 1));
            pixel[1] = static_cast<std::uint8_t>(40 + y * 60 / (height - 1));
            pixel[2] = static_cast<std::uint8_t>(200 - (x + y) * 90 / (width + height - 2));
            pixel[3] = 0;
        }
    }
    return picture;
}

// The colour the module shows for a pixel: its RGB565 value by truncation, as 8-bit values.
Rgb shown(const DecodedPicture& picture, int x, int y) {
    const std::uint8_t* rgb = picture.pixel(x, y);
    return rgbOf565(rgb565(rgb[0], rgb[1], rgb[2]));
}

// The mean distance, over 8 x 8 boxes, between the mean colour the module shows and the
// source's mean colour: what the eye sees of banding.
double boxMeanError(const DecodedPicture& source, const DecodedPicture& converted) {
    double total = 0;
    int boxes = 0;
    for (int top = 0; top + 8 <= source.height; top += 8) {
        for (int left = 0; left + 8 <= source.width; left += 8) {
            double difference[3] = {0, 0, 0};
            for (int y = top; y < top + 8; ++y) {
                for (int x = left; x < left + 8; ++x) {
                    const Rgb colour = shown(converted, x, y);
                    const std::uint8_t* original = source.pixel(x, y);
                    difference[0] += colour.red - original[0];
                    difference[1] += colour.green - original[1];
                    difference[2] += colour.blue - original[2];
                }
            }
            for (const double d : difference) {
                total += std::abs(d / 64);
            }
            ++boxes;
        }
    }
    return total / boxes;
}

TEST(DitheringTest, KeepsTheLocalMeanColourOfAGradient) {
    const DecodedPicture source = gradient(256, 96);
    DecodedPicture dithered = source;
    ditherToRgb565(dithered);
    const double truncation = boxMeanError(source, source);
    const double diffusion = boxMeanError(source, dithered);
    EXPECT_GT(truncation, 2.0);
    EXPECT_LT(diffusion, 0.5);
}

// Every dithered colour is one of the module's, and the truncation gives its levels back.
TEST(DitheringTest, EveryPixelBecomesTheColourOfItsLevels) {
    DecodedPicture picture = gradient(64, 40);
    ditherToRgb565(picture);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* rgb = picture.pixel(x, y);
            EXPECT_EQ(shown(picture, x, y), (Rgb{rgb[0], rgb[1], rgb[2]})) << x << "," << y;
        }
    }
}

TEST(DitheringTest, ColoursOfTheModuleStayAsTheyAre) {
    DecodedPicture picture = gradient(16, 16);
    for (std::size_t i = 0; i < picture.rgbx.size(); i += DecodedPicture::kBytesPerPixel) {
        const Rgb exact = rgbOf565(static_cast<std::uint16_t>(i * 97));
        picture.rgbx[i] = exact.red;
        picture.rgbx[i + 1] = exact.green;
        picture.rgbx[i + 2] = exact.blue;
    }
    const DecodedPicture before = picture;
    ditherToRgb565(picture);
    EXPECT_EQ(picture.rgbx, before.rgbx);
}

TEST(Rgb565Test, LevelsStandForTheirBitsRepeated) {
    struct Case {
        std::uint16_t colour;
        Rgb rgb;
    };
    const Case cases[] = {
        {0x0000, {0, 0, 0}},   {0xFFFF, {255, 255, 255}}, {0xF800, {255, 0, 0}},
        {0x07E0, {0, 255, 0}}, {0x001F, {0, 0, 255}},     {0x8410, {132, 130, 132}},
        {0x0821, {8, 4, 8}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rgbOf565(c.colour), c.rgb) << c.colour;
        EXPECT_EQ(rgb565(c.rgb.red, c.rgb.green, c.rgb.blue), c.colour);
    }
}

} // namespace
} // namespace lumivert
