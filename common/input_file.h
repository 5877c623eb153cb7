#pragma once

#include "common/unique_fd.h"

#include <filesystem>

namespace lumivert {

// Opens an existing file that the workbench reads. The open does not block, so a named pipe
// or a device in the file's place cannot hold the program up waiting for a writer; then only a
// regular file (or a link to one) is taken. Throws WorkbenchError "Cannot open file
// "<path>". <reason>": the system's reason when it cannot be opened ("Is a directory." for a
// folder), "The file is not a regular file." for anything else that is no file.
UniqueFd openInputFile(const std::filesystem::path& path);

} // namespace lumivert
