#include "common/text_file.h"

#include "common/binary_file.h"
#include "common/fd_io.h"
#include "common/file_error.h"
#include "common/input_file.h"
#include "common/unique_fd.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>

namespace lumivert {

void writeCrlfTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) {
        size += line.size() + 2;
    }
    std::string content;
    content.reserve(size);
    for (const auto& line : lines) {
        content += line;
        content += "\r\n";
    }

    writeBinaryFile(
        path, std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
}

std::string readWholeFile(const std::filesystem::path& path) {
    const UniqueFd file = openInputFile(path);
    std::string content;
    struct stat info {};
    if (::fstat(file.get(), &info) == 0 && info.st_size > 0) {
        content.reserve(static_cast<std::size_t>(info.st_size));
    }
    std::array<std::uint8_t, 65536> buffer;
    for (;;) {
        const ssize_t got = readFully(file.get(), buffer.data(), buffer.size());
        if (got < 0) {
            throw cannotOpenFile(path, errno);
        }
        content.append(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(got));
        if (static_cast<std::size_t>(got) < buffer.size()) {
            return content;
        }
    }
}

} // namespace lumivert
