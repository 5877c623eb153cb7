#include "common/atomic_file.h"

#include "common/fd_io.h"
#include "common/file_error.h"
#include "common/unique_fd.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivert {
namespace {

// A temporary file beside the target that is removed unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& beside)
        : name_(beside.string() + ".XXXXXX") {
        fd_.reset(::mkostemp(name_.data(), O_CLOEXEC));
        if (!fd_) {
            throw cannotCreateFile(beside, errno);
        }
    }
    ~TemporaryFile() {
        if (!renamed_) {
            ::unlink(name_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_.get(); }

    // Flushes, closes and renames the file over `target`; returns false with errno set.
    bool replace(const std::filesystem::path& target) {
        if (::fsync(fd_.get()) != 0 || !closeAfterWriting(fd_.release())) {
            return false;
        }
        if (::rename(name_.c_str(), target.c_str()) != 0) {
            return false;
        }
        renamed_ = true;
        return true;
    }

private:
    std::string name_;
    UniqueFd fd_;
    bool renamed_ = false;
};

// The rename is durable only once the folder that holds the name is on the disk.
void flushFolder(const std::filesystem::path& file) {
    const auto folder =
        file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    const UniqueFd fd(openRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY));
    if (fd) {
        ::fsync(fd.get());
    }
}

// The file's mode is kept; a new file is readable by all and writable by its owner.
mode_t modeFor(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? (status.st_mode & 07777) : 0644;
}

} // namespace

void writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    TemporaryFile replacement(path);
    if (!writeFully(replacement.fd(), bytes.data(), bytes.size()) ||
        ::fchmod(replacement.fd(), modeFor(path)) != 0 || !replacement.replace(path)) {
        throw cannotWriteFile(path, errno);
    }
    flushFolder(path);
}

} // namespace lumivert
