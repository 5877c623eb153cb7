#pragma once

#include "common/unique_fd.h"

#include <cstdint>
#include <filesystem>
#include <span>

namespace lumivert {

// The store file's own mechanics, apart from what its bytes mean.

// Opens the existing file for reading, kept from any other workbench for as long as the
// descriptor is open. Throws WorkbenchError "Cannot open file ..." when it cannot be opened,
// or is in use by another program.
UniqueFd openStoreForReading(const std::filesystem::path& path);

// Writes `bytes` over the start of the file, keeping whatever a longer file holds past them.
// The normal way is a new file beside it, flushed, given the old file's mode and owner and
// renamed over it, so that a crash leaves either the old content or the new. The file is
// written in place instead when the rename would lose something: a file longer than `bytes`
// (its tail would have to be copied), a file with further hard links, a file whose owner
// cannot be given to the new one, or a folder that takes no new file or no new bytes
// (permission, read-only file system, full disk or quota), where a write of the same size
// needs no new room. A symbolic link is followed: its target gets the new content and the
// link stays. Throws WorkbenchError naming the file when the content could not be written.
void writeStoreFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace lumivert
