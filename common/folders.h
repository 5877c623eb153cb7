#pragma once

#include <filesystem>

namespace lumivert {

// Creates the folder, and any missing folders above it, unless it is already there.
// Throws WorkbenchError "Cannot create file ..." when it cannot, such as when a file of that
// name is in the way.
void createFolderIfMissing(const std::filesystem::path& folder);

} // namespace lumivert
