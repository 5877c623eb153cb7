#include "tests/picture/picture_fixtures.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <random>

namespace lumivert::testing {

Pixels solidPixels(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    Pixels pixels{width, height, false, {}};
    for (int i = 0; i < width * height; ++i) {
        pixels.bytes.insert(pixels.bytes.end(), {red, green, blue});
    }
    return pixels;
}

Pixels photoPixels(int width, int height, bool greyscale, unsigned seed) {
    Pixels pixels{width, height, greyscale, {}};
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-24, 24);
    const auto clamp = [](double value) {
        return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double shade = 128 + 100 * std::sin(x * 0.05) * std::cos(y * 0.037);
            const bool block = ((x / 23) + (y / 17)) % 3 == 0; // hard edges
            const double base = block ? 255 - shade : shade;
            if (greyscale) {
                pixels.bytes.push_back(clamp(base + noise(random)));
            } else {
                pixels.bytes.push_back(clamp(base + noise(random)));
                pixels.bytes.push_back(clamp(255.0 * x / width + noise(random)));
                pixels.bytes.push_back(clamp(255.0 * y / height + noise(random)));
            }
        }
    }
    return pixels;
}

void writePicture(const std::filesystem::path& path, const Pixels& pixels, JpegSettings settings) {
    settings.greyscale = pixels.greyscale;
    writeJpegFile(path, pixels.width, pixels.height, pixels.bytes, settings);
}

void writeFourColours(const std::filesystem::path& path) {
    const Pixels pixels{2, 2, false, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}};
    writePicture(path, pixels, {.quality = 100, .fullChroma = true});
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

} // namespace lumivert::testing
