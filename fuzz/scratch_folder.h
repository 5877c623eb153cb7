#pragma once

#include "common/unique_fd.h"

#include <filesystem>
#include <string_view>

namespace lumivert::fuzz {

// The folder `name`, emptied, inside a folder of the running program's own under the system's
// temporary folder. That folder is made on first use and removed with everything in it when
// the program ends: the bodies' files go there, never into the working directory.
std::filesystem::path emptyScratchFolder(std::string_view name);

// Writes `bytes` as the file at `path`, creating the folders above it.
void writeScratchFile(const std::filesystem::path& path, std::string_view bytes);

// Makes `folder` the working directory while it lives, then goes back to the one before, also
// when the code in between changed it.
class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder);
    ~InFolder();
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    UniqueFd previous_;
};

} // namespace lumivert::fuzz
