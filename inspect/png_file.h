#pragma once

#include "inspect/raster.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace lumivert {

// The raster as the bytes of an 8-bit RGB PNG file.
std::vector<std::uint8_t> encodePng(const Raster& raster);

// Writes the raster as a PNG file; throws WorkbenchError as writeBinaryFile does.
void writePngFile(const std::filesystem::path& path, const Raster& raster);

} // namespace lumivert
