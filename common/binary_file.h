#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace lumivert {

// Creates or empties the file and writes the bytes. Throws WorkbenchError: "Cannot create
// file" when it cannot be made, "Cannot write file" when a write or the close fails.
void writeBinaryFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace lumivert
