#include "picture/picture_conversion.h"

#include "common/gbk.h"
#include "common/integer_parse.h"
#include "picture/jpeg_decoder.h"
#include "picture/picture_index_entry.h"
#include "picture/picture_log.h"
#include "picture/pixel_store.h"

#include <span>

namespace lumivert {
namespace {

// The numbers the batch may write: entry 0 is never used, and the entry of 512 would lie on
// the first glyph of the 12-dot font.
constexpr int kFirstStoredNumber = 1;
constexpr int kLastStoredNumber = 511;

bool tooLarge(const DecodedPicture& picture) {
    return picture.width > kLargestPictureSide || picture.height > kLargestPictureSide;
}

// Messages are shown as UTF-8; the digits read the same in either encoding.
int pictureNumber(std::string_view name) {
    return parseInteger(gbkToUtf8(name));
}

void storeIndexEntry(Workbench& workbench, int number, const DecodedPicture& picture) {
    const PictureIndexEntry entry =
        pictureIndexEntry(picture.width, picture.height, workbench.writeCursor);
    workbench.image.store(pictureIndexOffset(workbench.regionMap, number), std::span(entry));
}

} // namespace

std::filesystem::path picturePath(std::string_view name) {
    return picturePathOfBytes(gbkToUtf8(name));
}

std::filesystem::path picturePathOfBytes(std::string_view fileName) {
    return "pic/" + std::string(fileName) + ".jpg";
}

PictureOutcome convertPicture(Workbench& workbench, std::string_view name, PictureSink& sink,
                              ColourReduction reduction) {
    return convertPicture(workbench, name, picturePath(name), sink, reduction);
}

// A picture too large to be converted is not decoded, so there is nothing to show of it.
PictureOutcome convertPicture(Workbench& workbench, std::string_view name,
                              const std::filesystem::path& file, PictureSink& sink,
                              ColourReduction reduction) {
    DecodedPicture picture = decodeJpegFile(file, kLargestPictureSide);
    const bool refused = tooLarge(picture);
    if (!refused) {
        if (reduction == ColourReduction::Dither) {
            ditherToRgb565(picture);
        }
        sink.pictureLoaded(picture);
    }
    sink.logLine(loadedLine(name, picture.width, picture.height));
    if (refused) {
        sink.logLine(tooLargeLine());
        return {};
    }
    const int number = pictureNumber(name);
    const bool generating = workbench.generateMode == 1;
    if (generating && (number < kFirstStoredNumber || number > kLastStoredNumber)) {
        sink.logLine(numberOutsideLine());
        return {};
    }

    PictureOutcome outcome;
    if (generating) {
        storeIndexEntry(workbench, number, picture);
        outcome.written = true;
        outcome.allPixelsStored = storePixels(workbench.image, workbench.writeCursor, picture);
    } else {
        skipPixels(workbench.writeCursor,
                   static_cast<std::int64_t>(picture.width) * picture.height);
    }
    sink.logLine(finishedLine());
    return outcome;
}

} // namespace lumivert
