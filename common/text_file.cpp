#include "common/text_file.h"

#include "common/fd_io.h"
#include "common/file_error.h"
#include "common/unique_fd.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivert {
namespace {

int openRetrying(const std::filesystem::path& path, int flags, mode_t mode = 0) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

} // namespace

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

    UniqueFd file(openRetrying(path, O_WRONLY | O_CREAT | O_TRUNC, 0666));
    if (!file) {
        throw cannotCreateFile(path, errno);
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(content.data());
    if (!writeFully(file.get(), bytes, content.size())) {
        throw cannotWriteFile(path, errno);
    }
    // A close interrupted by a signal has still released the descriptor on Linux.
    if (::close(file.release()) != 0 && errno != EINTR) {
        throw cannotWriteFile(path, errno);
    }
}

std::string readWholeFile(const std::filesystem::path& path) {
    UniqueFd file(openRetrying(path, O_RDONLY));
    if (!file) {
        throw cannotOpenFile(path, errno);
    }
    std::string content;
    struct stat info {};
    if (::fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
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
