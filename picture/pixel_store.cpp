#include "picture/pixel_store.h"

#include "picture/rgb565.h"
#include "picture/rgb565_tile.h"

#include <algorithm>
#include <array>
#include <span>

namespace lumivert {
namespace {

// The cursor no longer advances once it stands at 0x1FFFFF or beyond.
constexpr std::int64_t kCursorStop = kImageSize - 1;

// Rows are walked in bands: while the band's rows stay in the cache, each group of columns is
// converted a tile at a time, and each column's part of the band goes to the image in one store.
constexpr int kBandHeight = 4 * kTileSide;

using ColumnBytes = std::array<std::uint8_t, std::size_t{2} * kBandHeight>;

// How many pixels move the cursor on before it stops.
std::int64_t pixelsBeforeStop(std::int32_t writeCursor) {
    return writeCursor >= kCursorStop ? 0 : (kCursorStop - writeCursor + 1) / 2;
}

// The module's bytes of `count` pixels of column x from row y down, one pixel at a time.
void convertColumn(const DecodedPicture& picture, int x, int y, int count, std::uint8_t* out) {
    for (int i = 0; i < count; ++i, out += 2) {
        const std::uint8_t* rgb = picture.pixel(x, y + i);
        out[0] = rgb565High(rgb[0], rgb[1]);
        out[1] = rgb565Low(rgb[1], rgb[2]);
    }
}

// Converts a band's part of `columns.size()` columns from x on: whole tiles where the band
// holds them, one pixel at a time below them and in a group narrower than a tile.
void convertBand(const DecodedPicture& picture, int x, int bandTop, int bandHeight,
                 std::span<ColumnBytes> columns) {
    const int tiledRows = columns.size() == kTileSide ? bandHeight / kTileSide * kTileSide : 0;
    for (int row = 0; row < tiledRows; row += kTileSide) {
        std::uint8_t* tileColumns[kTileSide];
        for (int k = 0; k < kTileSide; ++k) {
            tileColumns[k] = columns[static_cast<std::size_t>(k)].data() + std::size_t{2} * row;
        }
        convertTile(picture, x, bandTop + row, tileColumns);
    }
    for (std::size_t k = 0; k < columns.size(); ++k) {
        convertColumn(picture, x + static_cast<int>(k), bandTop + tiledRows, bandHeight - tiledRows,
                      columns[k].data() + std::size_t{2} * tiledRows);
    }
}

} // namespace

// Pixel i of the walk (column x, row y: i = x * height + y) goes to writeCursor + 2 i while
// the cursor still moves; every later one goes where it stopped.
bool storePixels(FlashImage& image, std::int32_t& writeCursor, const DecodedPicture& picture) {
    const std::int64_t height = picture.height;
    const std::int64_t count = picture.width * height;
    const std::int64_t moving = std::min(count, pixelsBeforeStop(writeCursor));
    std::array<ColumnBytes, kTileSide> columns{};
    std::int64_t stored = 0;
    for (int bandTop = 0; bandTop < picture.height; bandTop += kBandHeight) {
        const int bandHeight = std::min(kBandHeight, picture.height - bandTop);
        for (int x = 0; x < picture.width && x * height + bandTop < moving; x += kTileSide) {
            const int group = std::min(kTileSide, picture.width - x);
            convertBand(picture, x, bandTop, bandHeight,
                        std::span(columns).first(static_cast<std::size_t>(group)));
            for (int k = 0; k < group; ++k) {
                const std::int64_t first = (x + k) * height + bandTop;
                const std::int64_t pixels = std::clamp<std::int64_t>(moving - first, 0, bandHeight);
                stored += image.store(writeCursor + 2 * first,
                                      std::span(columns[static_cast<std::size_t>(k)])
                                          .first(static_cast<std::size_t>(2 * pixels)));
            }
        }
    }
    const std::int64_t stop = writeCursor + 2 * moving;
    if (count > moving) {
        // Each later pixel overwrites the one before it where the cursor stopped.
        convertColumn(picture, picture.width - 1, picture.height - 1, 1, columns[0].data());
        stored += image.store(stop, std::span(columns[0]).first(2));
    }
    writeCursor = static_cast<std::int32_t>(stop);
    return count == moving && stored == 2 * count;
}

void skipPixels(std::int32_t& writeCursor, std::int64_t pixelCount) {
    writeCursor +=
        static_cast<std::int32_t>(2 * std::min(pixelCount, pixelsBeforeStop(writeCursor)));
}

} // namespace lumivert
