#include "image/store_file.h"

#include "common/fd_io.h"
#include "common/file_error.h"
#include "common/folders.h"
#include "common/input_file.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivert {
namespace {

const char* const kInUse = "The file is in use by another program.";
constexpr mode_t kNewFileMode = 0644;
constexpr int kMostLinksFollowed = 40; // as the kernel's own limit

// The store is opened without sharing: a second workbench on the same folder is kept out.
bool lockExclusively(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

// Where the bytes of `path` really live, following symbolic links (a dangling one included,
// so that the save creates its target). A loop is left as it is: opening it reports it.
std::filesystem::path followLinks(std::filesystem::path path) {
    for (int followed = 0; followed < kMostLinksFollowed; ++followed) {
        std::error_code error;
        if (!std::filesystem::is_symlink(path, error)) {
            return path;
        }
        const auto target = std::filesystem::read_symlink(path, error);
        if (error) {
            return path;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

// The failures of a new file that a write in place can still avoid: the folder takes no new
// file, or the disk no new bytes, or the old owner cannot be given to the new file.
bool inPlaceMayStillWork(int error) {
    return error == EACCES || error == EPERM || error == EROFS || error == ENOSPC ||
           error == EDQUOT;
}

struct ExistingFile {
    UniqueFd fd;
    struct stat status {};
};

// The store as it is, open for writing and locked; nothing when there is no file yet.
std::optional<ExistingFile> openExisting(const std::filesystem::path& path) {
    ExistingFile existing;
    existing.fd.reset(openRetrying(path.c_str(), O_RDWR));
    if (!existing.fd) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        throw cannotOpenFile(path, errno);
    }
    if (!lockExclusively(existing.fd.get())) {
        throw cannotOpenFile(path, kInUse);
    }
    if (::fstat(existing.fd.get(), &existing.status) != 0) {
        throw cannotOpenFile(path, errno);
    }
    return existing;
}

// A rename would cut the file from something that keeps it: its tail, or its other names.
bool mustWriteInPlace(const struct stat& status, std::size_t size) {
    return status.st_size > static_cast<off_t>(size) || status.st_nlink > 1;
}

void writeInPlace(int fd, std::span<const std::uint8_t> bytes, const std::filesystem::path& path) {
    if (!writeFully(fd, bytes.data(), bytes.size()) || ::fsync(fd) != 0) {
        throw cannotWriteFile(path, errno);
    }
}

// The first save into a folder where no new file beside the store could be made.
void createInPlace(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    UniqueFd file(openRetrying(path.c_str(), O_RDWR | O_CREAT, kNewFileMode));
    if (!file) {
        throw cannotCreateFile(path, errno);
    }
    if (!lockExclusively(file.get())) {
        throw cannotOpenFile(path, kInUse);
    }
    writeInPlace(file.get(), bytes, path);
}

// The rename is only durable once the folder's own entry list is on the disk.
void syncFolder(const std::filesystem::path& file) {
    const auto folder =
        file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    UniqueFd entries(openRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY));
    if (!entries || ::fsync(entries.get()) != 0) {
        throw cannotWriteFile(file, errno);
    }
}

// A new file beside the store that is removed unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& beside)
        : name_(beside.string() + ".XXXXXX") {
        fd_.reset(::mkostemp(name_.data(), O_CLOEXEC));
        error_ = fd_ ? 0 : errno;
    }
    ~TemporaryFile() {
        if (error_ == 0 && !renamed_) {
            ::unlink(name_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // 0 when the file was made, else why not.
    int error() const { return error_; }
    int fd() const { return fd_.get(); }

    // Flushes, closes and renames the file over `target`; returns false with errno set.
    bool replace(const std::filesystem::path& target) {
        if (::fsync(fd_.get()) != 0 || ::close(fd_.release()) != 0) {
            return false;
        }
        renamed_ = ::rename(name_.c_str(), target.c_str()) == 0;
        return renamed_;
    }

private:
    std::string name_;
    UniqueFd fd_;
    int error_ = 0;
    bool renamed_ = false;
};

// Gives the new file what the old one had: its owner first, since a change of owner clears
// the set-id bits of the mode.
bool takeOverIdentity(int fd, const ExistingFile* existing) {
    if (existing == nullptr) {
        return ::fchmod(fd, kNewFileMode) == 0;
    }
    return ::fchown(fd, existing->status.st_uid, existing->status.st_gid) == 0 &&
           ::fchmod(fd, existing->status.st_mode & 07777) == 0;
}

// The atomic save. Returns false, with nothing changed, when the new file could not be made,
// filled or given the old one's identity for a reason that a write in place may avoid.
bool replaceThroughNewFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                           const ExistingFile* existing) {
    TemporaryFile replacement(path);
    if (replacement.error() != 0) {
        if (inPlaceMayStillWork(replacement.error())) {
            return false;
        }
        throw cannotCreateFile(path, replacement.error());
    }
    if (!writeFully(replacement.fd(), bytes.data(), bytes.size()) ||
        !takeOverIdentity(replacement.fd(), existing)) {
        if (inPlaceMayStillWork(errno)) {
            return false;
        }
        throw cannotWriteFile(path, errno);
    }
    if (!replacement.replace(path)) {
        throw cannotWriteFile(path, errno);
    }
    syncFolder(path);
    return true;
}

} // namespace

UniqueFd openStoreForReading(const std::filesystem::path& path) {
    UniqueFd file = openInputFile(path);
    if (!lockExclusively(file.get())) {
        throw cannotOpenFile(path, kInUse);
    }
    return file;
}

void writeStoreFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    const auto target = followLinks(path);
    if (const auto folder = target.parent_path(); !folder.empty()) {
        createFolderIfMissing(folder);
    }
    auto existing = openExisting(target);
    if (existing && mustWriteInPlace(existing->status, bytes.size())) {
        writeInPlace(existing->fd.get(), bytes, target);
        return;
    }
    if (replaceThroughNewFile(target, bytes, existing ? &*existing : nullptr)) {
        return;
    }
    if (existing) {
        writeInPlace(existing->fd.get(), bytes, target);
    } else {
        createInPlace(target, bytes);
    }
}

} // namespace lumivert
