#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace lumivert {

// Replaces the file at `path` with `bytes` so that a crash or a power cut leaves either the
// old file or the new one, never a part: the bytes go to a temporary file beside it, which is
// flushed to the disk and renamed over the file, and the folder is flushed after the rename.
// The file keeps its mode; a new one gets 0644. Throws WorkbenchError: "Cannot create file ..."
// when the temporary file cannot be made, "Cannot write file ..." when writing, flushing or
// renaming fails; the file is then as it was.
void writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace lumivert
