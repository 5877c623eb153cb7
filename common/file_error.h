#pragma once

#include "common/workbench_error.h"

#include <filesystem>

namespace lumivert {

// "Cannot open file "<full path>". <reason>" for a file that exists but cannot be read or updated.
WorkbenchError cannotOpenFile(const std::filesystem::path& path, int systemError);

// "Cannot create file "<full path>". <reason>" for a file that cannot be made or replaced.
WorkbenchError cannotCreateFile(const std::filesystem::path& path, int systemError);

// "Cannot write file "<full path>". <reason>" for a write or close that failed part-way.
WorkbenchError cannotWriteFile(const std::filesystem::path& path, int systemError);

// The same two messages with a reason of the workbench's own.
WorkbenchError cannotOpenFile(const std::filesystem::path& path, const std::string& reason);
WorkbenchError cannotCreateFile(const std::filesystem::path& path, const std::string& reason);

// The system's text for an errno value, starting with a capital and ending with a full stop.
std::string systemReason(int systemError);

} // namespace lumivert
