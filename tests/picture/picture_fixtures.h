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

// The bytes of a file, and a file made of bytes.
std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

} // namespace lumivert::testing
