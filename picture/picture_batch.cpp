#include "picture/picture_batch.h"

#include "image/generate_mode_guard.h"
#include "picture/picture_conversion.h"
#include "picture/picture_log.h"

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace lumivert {
namespace {

void clearPictureData(Workbench& workbench) {
    const std::int32_t first = workbench.regionMap.offset(RegionMap::PictureDataBase);
    const std::int32_t end = workbench.regionMap.offset(RegionMap::ImageEnd);
    const std::vector<std::uint8_t> erased(static_cast<std::size_t>(end - first), kErased);
    workbench.image.store(first, std::span(erased));
}

bool pictureExists(const std::string& name) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(picturePath(name), ignored);
}

} // namespace

void convertAllPictures(Workbench& workbench, PictureSink& sink, OperationHost& host) {
    const GenerateModeGuard generating(workbench);
    workbench.writeCursor = workbench.regionMap.offset(RegionMap::PictureDataBase);
    clearPictureData(workbench);

    bool fullReported = false;
    for (int number = kFirstPictureNumber; number <= kLastPictureNumber; ++number) {
        const std::string name = std::to_string(number);
        if (!pictureExists(name)) {
            continue;
        }
        sink.pictureStarting(number);
        const PictureOutcome outcome = convertPicture(workbench, name, sink);
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
