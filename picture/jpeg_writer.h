#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace lumivert {

// How a JPEG file is written.
struct JpegSettings {
    int quality = 90;
    bool greyscale = false;  // one component; the pixels are grey levels, 1 byte each
    bool fullChroma = false; // colour without chroma subsampling, so small colours survive
    bool progressive = false;
};

// Writes `pixels` (row by row from the top; 3 bytes of red, green, blue per pixel, or 1 grey
// byte for a greyscale file) as a JPEG file through libjpeg's encoder. Used for the demo
// pictures and the tests' fixtures. Throws WorkbenchError when the file cannot be made.
void writeJpegFile(const std::filesystem::path& path, int width, int height,
                   std::span<const std::uint8_t> pixels, const JpegSettings& settings = {});

} // namespace lumivert
