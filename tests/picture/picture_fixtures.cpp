#include "tests/picture/picture_fixtures.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

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

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfScan = 0xDA;

// Start of frame markers: C0 to CF but for C4 (Huffman tables), C8 (reserved) and CC
// (arithmetic conditioning).
bool isStartOfFrame(std::uint8_t code) {
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

std::size_t segmentLength(const std::vector<std::uint8_t>& jpeg, std::size_t marker) {
    return std::size_t{jpeg.at(marker + 2)} << 8 | jpeg.at(marker + 3);
}

bool isStartOfScan(std::uint8_t code) {
    return code == kStartOfScan;
}

// Where the first segment whose marker code `matches` starts, walking the header segments from
// the start-of-image marker up to the first scan.
std::size_t findHeaderSegment(const std::vector<std::uint8_t>& jpeg,
                              bool (*matches)(std::uint8_t)) {
    for (std::size_t i = 2; i + 3 < jpeg.size() && jpeg[i] == kMarker;
         i += 2 + segmentLength(jpeg, i)) {
        if (matches(jpeg[i + 1])) {
            return i;
        }
        if (isStartOfScan(jpeg[i + 1])) {
            break;
        }
    }
    throw std::invalid_argument("no such segment in the JPEG headers");
}

} // namespace

void claimSize(std::vector<std::uint8_t>& jpeg, int width, int height) {
    const std::size_t frame = findHeaderSegment(jpeg, isStartOfFrame);
    // Length (2 bytes), precision (1), then height and width, 2 bytes each, high byte first.
    jpeg.at(frame + 5) = static_cast<std::uint8_t>(height >> 8);
    jpeg.at(frame + 6) = static_cast<std::uint8_t>(height);
    jpeg.at(frame + 7) = static_cast<std::uint8_t>(width >> 8);
    jpeg.at(frame + 8) = static_cast<std::uint8_t>(width);
}

// Inside scan data a 0xFF byte is followed by 0 or a restart code, and the table segments
// between scans hold no 0xFF 0xDA, so each such pair is a scan's start.
int scanCount(const std::vector<std::uint8_t>& jpeg) {
    int count = 0;
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i) {
        count += jpeg[i] == kMarker && jpeg[i + 1] == kStartOfScan ? 1 : 0;
    }
    return count;
}

void addEmptyScans(std::vector<std::uint8_t>& jpeg, int count) {
    const std::size_t scan = findHeaderSegment(jpeg, isStartOfScan);
    const std::vector<std::uint8_t> header(
        jpeg.begin() + static_cast<std::ptrdiff_t>(scan),
        jpeg.begin() + static_cast<std::ptrdiff_t>(scan + 2 + segmentLength(jpeg, scan)));
    std::vector<std::uint8_t> scans;
    scans.reserve(header.size() * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        scans.insert(scans.end(), header.begin(), header.end());
    }
    // The end marker is the file's last two bytes.
    jpeg.insert(jpeg.end() - 2, scans.begin(), scans.end());
}

void writeClaimedPicture(const std::filesystem::path& path, int width, int height, int scans,
                         JpegSettings settings) {
    settings.progressive = true;
    writePicture(path, photoPixels(16, 16, settings.greyscale), settings);
    std::vector<std::uint8_t> jpeg = readBytes(path);
    claimSize(jpeg, width, height);
    addEmptyScans(jpeg, std::max(0, scans - scanCount(jpeg)));
    writeBytes(path, jpeg);
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
