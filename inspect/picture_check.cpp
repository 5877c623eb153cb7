#include "inspect/check_rules.h"
#include "inspect/listing_format.h"
#include "inspect/overlaps.h"

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

// Only what lies inside the flash can overlap.
void checkOverlaps(const std::vector<PictureEntry>& pictures, Problems& problems) {
    std::vector<const PictureEntry*> stored;
    for (const PictureEntry& picture : pictures) {
        if (picture.byteCount() > 0 && picture.start < kImageSize) {
            stored.push_back(&picture);
        }
    }
    findOverlaps(
        std::move(stored), [](const PictureEntry& p) { return p.start; },
        [](const PictureEntry& p) { return p.end(); },
        [&](const PictureEntry& picture, const PictureEntry& earlier) {
            problems.push_back(pictureName(picture) + ": its pixels at " + pixelSpan(picture) +
                               " overlap those of " + pictureName(earlier));
        });
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
