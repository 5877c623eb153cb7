#include "picture/picture_batch.h"

#include "image/generate_mode_guard.h"
#include "picture/picture_conversion.h"
#include "picture/picture_log.h"

#include <algorithm>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumivert {
namespace {

void clearPictureData(Workbench& workbench) {
    constexpr std::int32_t kChunk = 64 * 1024;
    const std::vector<std::uint8_t> erased(kChunk, kErased);
    const std::int32_t end = workbench.regionMap.offset(RegionMap::ImageEnd);
    for (std::int32_t offset = workbench.regionMap.offset(RegionMap::PictureDataBase); offset < end;
         offset += kChunk) {
        workbench.image.store(offset, std::span(erased).first(std::min(kChunk, end - offset)));
    }
}

// The number a picture file's name gives, "<n>.jpg" with n in decimal; 0 for other names.
int numberOfName(const std::string& name) {
    constexpr std::string_view extension = ".jpg";
    if (name.size() <= extension.size() || !name.ends_with(extension) || name.front() == '0') {
        return 0;
    }
    int number = 0;
    for (const char c : std::string_view(name).substr(0, name.size() - extension.size())) {
        if (c < '0' || c > '9' || number > kLastPictureNumber) {
            return 0;
        }
        number = number * 10 + (c - '0');
    }
    return number <= kLastPictureNumber ? number : 0;
}

// The picture numbers whose files the folder names, in ascending order: one look at the folder
// rather than one per number, of which most have no file. No folder, no pictures.
std::vector<int> listedPictureNumbers() {
    std::vector<bool> listed(kLastPictureNumber + 1, false);
    std::error_code error;
    for (auto entry = std::filesystem::directory_iterator("pic", error);
         !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        listed[static_cast<std::size_t>(numberOfName(entry->path().filename().string()))] = true;
    }
    std::vector<int> numbers;
    for (int number = kFirstPictureNumber; number <= kLastPictureNumber; ++number) {
        if (listed[static_cast<std::size_t>(number)]) {
            numbers.push_back(number);
        }
    }
    return numbers;
}

// A listed name that is a folder, or a file gone since the folder was read, is no picture.
// Anything else in a picture's place (a named pipe, a device) is one that cannot be read.
bool pictureExists(const std::string& name) {
    std::error_code ignored;
    const auto status = std::filesystem::status(picturePath(name), ignored);
    return std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

} // namespace

void convertAllPictures(Workbench& workbench, PictureSink& sink, OperationHost& host,
                        ColourReduction reduction) {
    const GenerateModeGuard generating(workbench);
    workbench.writeCursor = workbench.regionMap.offset(RegionMap::PictureDataBase);
    clearPictureData(workbench);

    bool fullReported = false;
    for (const int number : listedPictureNumbers()) {
        const std::string name = std::to_string(number);
        if (!pictureExists(name)) {
            continue;
        }
        sink.pictureStarting(number);
        const PictureOutcome outcome = convertPicture(workbench, name, sink, reduction);
        if (outcome.written && !outcome.allPixelsStored && !fullReported) {
            sink.logLine(regionFullLine(number));
            fullReported = true;
        }
        host.progress(number, kLastPictureNumber);
        host.pump();
        if (host.cancelled()) {
            return;
        }
    }
    host.progress(kLastPictureNumber, kLastPictureNumber);
}

} // namespace lumivert
