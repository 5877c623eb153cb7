#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace lumivert {

// Writes the lines, each followed by CR LF, with no byte-order mark; the bytes go out as given
// (GBK). Replaces the file when it exists. Throws WorkbenchError "Cannot create file ..." when
// the file cannot be made, "Cannot write file ..." when writing it fails part-way (disk full).
void writeCrlfTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines);

// The whole content of a file. Throws WorkbenchError "Cannot open file ..." when it cannot be
// opened or read, or is no regular file (input_file.h).
std::string readWholeFile(const std::filesystem::path& path);

} // namespace lumivert
