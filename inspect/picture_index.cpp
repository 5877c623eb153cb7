#include "inspect/picture_index.h"

#include "picture/picture_index_entry.h"

namespace lumivert {
namespace {

constexpr int kEntrySize = static_cast<int>(std::tuple_size_v<PictureIndexEntry>);

std::int64_t bigEndian(const FlashImage& image, std::int64_t offset, int bytes) {
    std::int64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value = value << 8 | image.load(offset + i);
    }
    return value;
}

} // namespace

std::vector<PictureEntry> readPictureIndex(const FlashImage& image, const RegionMap& regions) {
    std::vector<PictureEntry> entries;
    const std::int64_t dataBase = regions.offset(RegionMap::PictureDataBase);
    const std::int64_t dataEnd = regions.offset(RegionMap::ImageEnd);
    const int numbers =
        (regions.offset(RegionMap::Font12Base) - regions.offset(RegionMap::PictureIndexBase)) /
        kEntrySize;
    for (int number = 0; number < numbers; ++number) {
        const std::int64_t offset = pictureIndexOffset(regions, number);
        if (image.isErased(offset, kEntrySize)) {
            continue;
        }
        PictureEntry entry;
        entry.number = number;
        entry.entryOffset = offset;
        entry.width = static_cast<int>(bigEndian(image, offset, 2));
        entry.height = static_cast<int>(bigEndian(image, offset + 2, 2));
        entry.start = bigEndian(image, offset + 4, 4);
        entry.insideFlash = entry.end() <= kImageSize;
        entry.insideDataRegion = entry.start >= dataBase && entry.end() <= dataEnd;
        entries.push_back(entry);
    }
    return entries;
}

std::vector<Rgb> pictureColours(const FlashImage& image, const PictureEntry& entry) {
    std::vector<Rgb> colours;
    if (!entry.insideFlash) {
        return colours;
    }
    colours.resize(static_cast<std::size_t>(entry.width) * static_cast<std::size_t>(entry.height));
    std::int64_t offset = entry.start;
    for (int x = 0; x < entry.width; ++x) {
        for (int y = 0; y < entry.height; ++y, offset += 2) {
            const auto colour =
                static_cast<std::uint16_t>(image.load(offset) << 8 | image.load(offset + 1));
            colours[static_cast<std::size_t>(y) * static_cast<std::size_t>(entry.width) +
                    static_cast<std::size_t>(x)] = rgbOf565(colour);
        }
    }
    return colours;
}

} // namespace lumivert
