#include "common/input_file.h"

#include "common/fd_io.h"
#include "common/file_error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace lumivert {

UniqueFd openInputFile(const std::filesystem::path& path) {
    UniqueFd file(openRetrying(path.c_str(), O_RDONLY | O_NONBLOCK));
    if (!file) {
        throw cannotOpenFile(path, errno);
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        throw cannotOpenFile(path, errno);
    }
    if (S_ISDIR(status.st_mode)) {
        throw cannotOpenFile(path, EISDIR);
    }
    if (!S_ISREG(status.st_mode)) {
        throw cannotOpenFile(path, "The file is not a regular file.");
    }
    const int flags = ::fcntl(file.get(), F_GETFL);
    if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        throw cannotOpenFile(path, errno);
    }
    return file;
}

} // namespace lumivert
