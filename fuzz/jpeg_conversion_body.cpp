#include "common/workbench_error.h"
#include "fuzz/bodies.h"
#include "fuzz/scratch_folder.h"
#include "image/workbench.h"
#include "picture/picture_conversion.h"
#include "picture/picture_index_entry.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <memory>
#include <numeric>

namespace lumivert::fuzz {
namespace {

constexpr int kNumber = 7;
constexpr std::int64_t kFlashEnd = kImageSize;

// Reads every byte of every decoded picture, so that a short buffer shows, and checks the
// picture's shape.
class ReadingSink : public PictureSink {
public:
    void pictureLoaded(const DecodedPicture& picture) override {
        expect(picture.width > 0 && picture.height > 0, "a decoded picture has pixels");
        expect(picture.keptWidth == std::min(picture.width, kPictureViewSide) &&
                   picture.keptHeight == std::min(picture.height, kPictureViewSide),
               "the part of a picture on the picture view is kept");
        const auto bytes = static_cast<std::size_t>(picture.keptWidth) * picture.keptHeight *
                           DecodedPicture::kBytesPerPixel;
        expect(picture.rgbx.size() == bytes, "a decoded picture holds its kept pixels");
        // A volatile store, so that the reads cannot be left out.
        sum = std::accumulate(picture.rgbx.begin(), picture.rgbx.end(), std::uint64_t{0});
        width = picture.width;
        height = picture.height;
    }

    volatile std::uint64_t sum = 0;
    int width = 0;
    int height = 0;
};

Workbench& sharedWorkbench() {
    static const auto workbench = std::make_unique<Workbench>();
    return *workbench;
}

void expectStored(const Workbench& workbench, std::int32_t start, const ReadingSink& sink) {
    expect(sink.width <= kLargestPictureSide && sink.height <= kLargestPictureSide,
           "only a picture that fits is written");
    const std::int64_t end = std::min<std::int64_t>(
        start + 2 * static_cast<std::int64_t>(sink.width) * sink.height, kFlashEnd);
    expect(workbench.writeCursor == end, "the WriteCursor moves past the picture's pixels");
    const PictureIndexEntry entry = pictureIndexEntry(sink.width, sink.height, start);
    const std::int64_t at = pictureIndexOffset(workbench.regionMap, kNumber);
    for (std::size_t i = 0; i < entry.size(); ++i) {
        expect(workbench.image.load(at + static_cast<std::int64_t>(i)) == entry[i],
               "the picture's index entry holds its size and start");
    }
}

} // namespace

void convertPictureFile(Input input) {
    const auto folder = emptyScratchFolder("jpeg_conversion");
    writeScratchFile(folder / "pic" / (std::to_string(kNumber) + ".jpg"), asText(input));
    const testing::WorkingDirectory inside(folder);

    Workbench& workbench = sharedWorkbench();
    workbench.reset();
    workbench.generateMode = 1;
    const std::int32_t start = workbench.regionMap.offset(RegionMap::PictureDataBase);
    workbench.writeCursor = start;
    ReadingSink sink;
    try {
        const PictureOutcome outcome = convertPicture(workbench, std::to_string(kNumber), sink);
        if (outcome.written) {
            expectStored(workbench, start, sink);
        } else {
            expect(workbench.writeCursor == start, "a picture not written leaves the WriteCursor");
        }
    } catch (const WorkbenchError&) {
        expect(workbench.writeCursor == start, "a picture that fails leaves the WriteCursor");
    }
}

} // namespace lumivert::fuzz
