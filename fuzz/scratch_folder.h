#pragma once

#include <filesystem>
#include <string_view>

namespace lumivert::fuzz {

// The folder `name`, emptied, inside a folder of the running program's own under the system's
// temporary folder. That folder is made on first use and removed with everything in it when
// the program ends: the bodies' files go there, never into the working directory.
std::filesystem::path emptyScratchFolder(std::string_view name);

// Writes `bytes` as the file at `path`, creating the folders above it.
void writeScratchFile(const std::filesystem::path& path, std::string_view bytes);

} // namespace lumivert::fuzz
