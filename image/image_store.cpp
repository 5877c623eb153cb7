#include "image/image_store.h"

#include "common/fd_io.h"
#include "common/file_error.h"
#include "image/store_file.h"

#include <algorithm>
#include <cerrno>

namespace lumivert {
namespace {

// Image offset o lies at file position kImageSize - 1 - o, XOR the mask; the rule is its own
// inverse, so load and save share it.
void scramble(const std::uint8_t* from, std::uint8_t* to) {
    for (std::int32_t position = 0; position < kImageSize; ++position) {
        to[position] = from[kImageSize - 1 - position] ^ ImageStore::kMask;
    }
}

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
        file = openStoreForReading(path_);
    } catch (const WorkbenchError&) {
        unreadable_ = true;
        throw;
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
    writeStoreFile(path_, std::span<const std::uint8_t>(buffer_.get(), kFileSize));
}

} // namespace lumivert
