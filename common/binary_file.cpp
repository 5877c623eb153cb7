#include "common/binary_file.h"

#include "common/fd_io.h"
#include "common/file_error.h"
#include "common/unique_fd.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace lumivert {

void writeBinaryFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    UniqueFd file(openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666));
    if (!file) {
        throw cannotCreateFile(path, errno);
    }
    if (!writeFully(file.get(), bytes.data(), bytes.size()) || !closeAfterWriting(file.release())) {
        throw cannotWriteFile(path, errno);
    }
}

} // namespace lumivert
