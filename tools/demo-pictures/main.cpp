// Makes the demo working directory's sample pictures: a few JPEG files of different sizes,
// colour and greyscale, drawn here from simple formulas. `make demo-pictures` writes them
// into demo/pic.
#include "common/workbench_error.h"
#include "picture/jpeg_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <iostream>
#include <numbers>
#include <vector>

namespace {

using lumivert::JpegSettings;

struct Rgb {
    double red, green, blue;
};

std::uint8_t channel(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

void writeColour(const std::filesystem::path& path, int width, int height,
                 const std::function<Rgb(double x, double y)>& colourAt,
                 const JpegSettings& settings) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb colour =
                colourAt(static_cast<double>(x) / width, static_cast<double>(y) / height);
            pixels.insert(pixels.end(),
                          {channel(colour.red), channel(colour.green), channel(colour.blue)});
        }
    }
    lumivert::writeJpegFile(path, width, height, pixels, settings);
}

void writeGrey(const std::filesystem::path& path, int width, int height,
               const std::function<double(double x, double y)>& greyAt) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(
                channel(greyAt(static_cast<double>(x) / width, static_cast<double>(y) / height)));
        }
    }
    lumivert::writeJpegFile(path, width, height, pixels, {.quality = 90, .greyscale = true});
}

// A sky over two hills, with a sun.
Rgb landscape(double x, double y) {
    const double sun = std::hypot((x - 0.75) * 4.0 / 3.0, y - 0.25);
    if (sun < 0.08) {
        return {255, 220, 90};
    }
    const double nearHill = 0.75 - 0.12 * std::sin(x * 2 * std::numbers::pi);
    const double farHill = 0.6 + 0.1 * std::cos(x * 3 * std::numbers::pi);
    if (y > nearHill) {
        return {40 + 60 * y, 120 + 60 * (1 - y), 40};
    }
    if (y > farHill) {
        return {70, 110, 90};
    }
    return {90 + 100 * y, 150 + 80 * y, 255};
}

// The eight colour bars of a test card.
Rgb colourBars(double x, double /*y*/) {
    static const Rgb bars[] = {{255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0},
                               {255, 0, 255},   {255, 0, 0},   {0, 0, 255},   {0, 0, 0}};
    return bars[std::min(static_cast<int>(x * 8), 7)];
}

// Hues around the centre, fading to white in the middle.
Rgb colourWheel(double x, double y) {
    const double dx = (x - 0.5) * 16.0 / 9.0;
    const double dy = y - 0.5;
    const double angle = std::atan2(dy, dx);
    const double fade = std::min(1.0, std::hypot(dx, dy) * 2.2);
    const auto hue = [&](double offset) { return 127.5 + 127.5 * std::cos(angle - offset); };
    const auto mix = [&](double value) { return 255 - fade * (255 - value); };
    return {mix(hue(0)), mix(hue(2 * std::numbers::pi / 3)), mix(hue(4 * std::numbers::pi / 3))};
}

double rings(double x, double y) {
    return 128 + 127 * std::cos(std::hypot(x - 0.5, (y - 0.5) * 4.0 / 3.0) * 40);
}

double checkerboard(double x, double y) {
    const bool dark = (static_cast<int>(x * 8) + static_cast<int>(y * 8)) % 2 == 0;
    return dark ? 40 + 80 * x : 215 - 80 * y;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: demo-pictures FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    try {
        writeColour(folder / "1.jpg", 320, 240, landscape, {.quality = 90});
        writeGrey(folder / "2.jpg", 240, 320, rings);
        writeColour(folder / "3.jpg", 160, 120, colourBars, {.quality = 95, .fullChroma = true});
        writeColour(folder / "5.jpg", 640, 360, colourWheel, {.quality = 85, .progressive = true});
        writeGrey(folder / "6.jpg", 96, 96, checkerboard);
    } catch (const lumivert::WorkbenchError& error) {
        std::cerr << "demo-pictures: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
