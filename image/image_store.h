#pragma once

#include "image/flash_image.h"

#include <cstdint>
#include <filesystem>
#include <memory>

namespace lumivert {

// The file that keeps the flash image between runs, "work/sdata.tmp": the image in reverse
// byte order, every byte XOR 0x6B, then one reserved byte that goes back as it was read.
class ImageStore {
public:
    static constexpr std::uint8_t kMask = 0x6B;
    static constexpr std::int32_t kFileSize = kImageSize + 1;

    explicit ImageStore(std::filesystem::path path = "work/sdata.tmp");

    // Loads the file over the image when it exists; without a file the image is untouched.
    // A shorter file counts as 0x00 where it has nothing. Throws WorkbenchError when the file
    // exists but cannot be read; the store then refuses to save over it.
    void load(FlashImage& image);

    // Writes the image to the file, creating the folder when missing and keeping any bytes a
    // longer file had past the reserved byte; how the file is written safely is
    // writeStoreFile's. Throws WorkbenchError when the file cannot be written, or was not
    // read at start-up.
    void save(const FlashImage& image);

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::unique_ptr<std::uint8_t[]> buffer_; // the file's bytes, kFileSize of them
    bool unreadable_ = false;                // the file existed but could not be loaded
};

} // namespace lumivert
