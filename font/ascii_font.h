#pragma once

#include "image/workbench.h"

#include <cstddef>
#include <filesystem>

namespace lumivert {

// The prepared 8 x 16 ASCII font, below the working directory, and the bytes of it the
// module reads.
inline constexpr const char* kAsciiFontFile = "work/asc";
inline constexpr std::size_t kAsciiFontSize = 1560;

// Copies the first 1,560 bytes of `file` unchanged to the start of the ASCII font region;
// a shorter file is followed by zeros up to 1,560 bytes. The rest of the region is not
// written. A file that cannot be opened or read throws "Cannot open file ..." with nothing
// copied.
void copyAsciiFont(Workbench& workbench, const std::filesystem::path& file);

} // namespace lumivert
