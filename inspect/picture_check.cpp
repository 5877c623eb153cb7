#include "inspect/check_rules.h"
#include "inspect/listing_format.h"

#include <algorithm>

namespace lumivert {
namespace {

std::string pictureName(const PictureEntry& picture) {
    return "picture " + std::to_string(picture.number);
}

std::string pixelSpan(const PictureEntry& picture) {
    return hexOffset(picture.start) + " to " + hexOffset(picture.end() - 1);
}

void checkPlace(const PictureEntry& picture, const RegionMap& regions, Problems& problems) {
    const std::int64_t dataBase = regions.offset(RegionMap::PictureDataBase);
    const std::int64_t dataEnd = regions.offset(RegionMap::ImageEnd);
    if (picture.byteCount() == 0) {
        return;
    }
    if (picture.end() > kImageSize) {
        problems.push_back(pictureName(picture) + ": its pixels at " + pixelSpan(picture) +
                           " run past the end of the flash " + hexOffset(kImageSize - 1));
    } else if (picture.end() > dataEnd) {
        problems.push_back(pictureName(picture) + ": its pixels at " + pixelSpan(picture) +
                           " run past the picture data region's end " + hexOffset(dataEnd - 1));
    }
    if (picture.start < dataBase) {
        problems.push_back(pictureName(picture) + ": its pixels at " + pixelSpan(picture) +
                           " start before the picture data region " + hexOffset(dataBase));
    }
}

// The parts inside the flash, each against the one reaching furthest among those before it.
void checkOverlaps(const std::vector<PictureEntry>& pictures, Problems& problems) {
    std::vector<const PictureEntry*> stored;
    for (const PictureEntry& picture : pictures) {
        if (picture.byteCount() > 0 && picture.start < kImageSize) {
            stored.push_back(&picture);
        }
    }
    std::stable_sort(stored.begin(), stored.end(),
                     [](const auto* a, const auto* b) { return a->start < b->start; });
    const PictureEntry* furthest = nullptr;
    for (const PictureEntry* picture : stored) {
        if (furthest != nullptr && picture->start < furthest->end()) {
            problems.push_back(pictureName(*picture) + ": its pixels at " + pixelSpan(*picture) +
                               " overlap those of " + pictureName(*furthest));
        }
        if (furthest == nullptr || picture->end() > furthest->end()) {
            furthest = picture;
        }
    }
}

} // namespace

void checkPictures(const std::vector<PictureEntry>& pictures, const RegionMap& regions,
                   Problems& problems) {
    for (const PictureEntry& picture : pictures) {
        checkPlace(picture, regions, problems);
    }
    checkOverlaps(pictures, problems);
}

} // namespace lumivert
