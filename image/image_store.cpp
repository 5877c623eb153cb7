#include "image/image_store.h"

#include "common/fd_io.h"
#include "common/file_error.h"
#include "common/folders.h"
#include "common/input_file.h"
#include "common/unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lumivert {
namespace {

const char* const kInUse = "The file is in use by another program.";

// The store is opened without sharing: a second workbench on the same folder is kept out.
bool lockExclusively(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

// Image offset o lies at file position kImageSize - 1 - o, XOR the mask; the rule is its own
// inverse, so load and save share it.
void scramble(const std::uint8_t* from, std::uint8_t* to) {
    for (std::int32_t position = 0; position < kImageSize; ++position) {
        to[position] = from[kImageSize - 1 - position] ^ ImageStore::kMask;
    }
}

// Copies what a longer store file holds past the reserved byte into the new file.
void copyTail(int from, int to, const std::filesystem::path& path) {
    std::vector<std::uint8_t> chunk(1 << 16);
    off_t position = ImageStore::kFileSize;
    for (;;) {
        const ssize_t got = ::pread(from, chunk.data(), chunk.size(), position);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw cannotOpenFile(path, errno);
        }
        if (got == 0) {
            return;
        }
        if (!writeFully(to, chunk.data(), static_cast<std::size_t>(got))) {
            throw cannotWriteFile(path, errno);
        }
        position += got;
    }
}

// A temporary file beside the store that is removed unless it was renamed into place.
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
        if (::fsync(fd_.get()) != 0 || ::close(fd_.release()) != 0) {
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

} // namespace

ImageStore::ImageStore(std::filesystem::path path)
    : path_(std::move(path)), buffer_(new std::uint8_t[kFileSize]()) {}

void ImageStore::load(FlashImage& image) {
    std::error_code error;
    if (!std::filesystem::exists(path_, error) && !error) {
        return;
    }
    UniqueFd file;
    try {
        file = openInputFile(path_);
    } catch (const WorkbenchError&) {
        unreadable_ = true;
        throw;
    }
    if (!lockExclusively(file.get())) {
        unreadable_ = true;
        throw cannotOpenFile(path_, kInUse);
    }
    const ssize_t got = readFully(file.get(), buffer_.get(), kFileSize);
    if (got < 0) {
        unreadable_ = true;
        throw cannotOpenFile(path_, errno);
    }
    std::fill(buffer_.get() + got, buffer_.get() + kFileSize, 0x00);
    scramble(buffer_.get(), image.image().data());
}

void ImageStore::save(const FlashImage& image) {
    if (unreadable_) {
        throw WorkbenchError("The flash image was not saved: the store file \"" +
                             std::filesystem::absolute(path_).string() +
                             "\" could not be read at start-up, and saving would overwrite it.");
    }
    scramble(image.image().data(), buffer_.get());

    const auto folder = path_.parent_path();
    if (!folder.empty()) {
        createFolderIfMissing(folder);
    }
    UniqueFd existing(openRetrying(path_.c_str(), O_RDWR));
    if (!existing && errno != ENOENT) {
        throw cannotOpenFile(path_, errno);
    }
    struct stat status {};
    if (existing) {
        if (!lockExclusively(existing.get())) {
            throw cannotOpenFile(path_, kInUse);
        }
        if (::fstat(existing.get(), &status) != 0) {
            throw cannotOpenFile(path_, errno);
        }
    }

    TemporaryFile replacement(path_);
    if (!writeFully(replacement.fd(), buffer_.get(), kFileSize)) {
        throw cannotWriteFile(path_, errno);
    }
    if (existing && status.st_size > kFileSize) {
        copyTail(existing.get(), replacement.fd(), path_);
    }
    const mode_t mode = existing ? (status.st_mode & 07777) : 0644;
    if (::fchmod(replacement.fd(), mode) != 0 || !replacement.replace(path_)) {
        throw cannotWriteFile(path_, errno);
    }
}

} // namespace lumivert
