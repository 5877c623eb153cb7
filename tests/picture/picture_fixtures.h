#pragma once

#include "picture/jpeg_writer.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace lumivert::testing {

// Pixels for the tests' JPEG files, row by row from the top, 3 bytes (or 1 grey byte) each.
struct Pixels {
    int width = 0;
    int height = 0;
    bool greyscale = false;
    std::vector<std::uint8_t> bytes;
};

// One colour everywhere.
Pixels solidPixels(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Something like a photograph: smooth shading, edges and fine noise, so that the decoder's
// upsampling, inverse DCT and (for grey) dithering all have work to do. Same seed, same pixels.
Pixels photoPixels(int width, int height, bool greyscale, unsigned seed = 1);

// Writes `pixels` as a JPEG file; `settings.greyscale` follows the pixels.
void writePicture(const std::filesystem::path& path, const Pixels& pixels,
                  JpegSettings settings = {});

// The 2 x 2 picture: red, green on the top row, blue, white below; quality 100 without
// chroma subsampling, so the colours survive.
void writeFourColours(const std::filesystem::path& path);

// Rewrites the frame header of a JPEG file's bytes to claim `width` x `height` pixels; the
// scan data stay those of the picture it was.
void claimSize(std::vector<std::uint8_t>& jpeg, int width, int height);

// The number of scans (start-of-scan markers) in a JPEG file's bytes.
int scanCount(const std::vector<std::uint8_t>& jpeg);

// Adds `count` empty scans before the end marker: copies of the file's first scan header
// with no data behind them. Each costs the decoder a pass over every block of the picture.
void addEmptyScans(std::vector<std::uint8_t>& jpeg, int count);

// A progressive picture that claims `width` x `height` pixels, has the data of a 16 x 16 one
// and in all `scans` scans, empty ones added as needed (or its own when `scans` is smaller).
void writeClaimedPicture(const std::filesystem::path& path, int width, int height, int scans,
                         JpegSettings settings);

// The bytes of a file, and a file made of bytes.
std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

} // namespace lumivert::testing
