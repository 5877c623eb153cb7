#include "picture/pixel_store.h"

#include "picture/rgb565.h"

#include <algorithm>
#include <span>

namespace lumivert {
namespace {

// The cursor no longer advances once it stands at 0x1FFFFF or beyond.
constexpr std::int64_t kCursorStop = kImageSize - 1;

// How many pixels move the cursor on before it stops.
std::int64_t pixelsBeforeStop(std::int32_t writeCursor) {
    return writeCursor >= kCursorStop ? 0 : (kCursorStop - writeCursor + 1) / 2;
}

} // namespace

std::vector<std::uint8_t> columnOrderPixels(const DecodedPicture& picture) {
    const auto height = static_cast<std::size_t>(picture.height);
    std::vector<std::uint8_t> bytes(2 * height * static_cast<std::size_t>(picture.width));
    std::uint8_t* out = bytes.data();
    for (int x = 0; x < picture.width; ++x) {
        for (int y = 0; y < picture.height; ++y) {
            const std::uint8_t* rgb = picture.pixel(x, y);
            *out++ = rgb565High(rgb[0], rgb[1]);
            *out++ = rgb565Low(rgb[1], rgb[2]);
        }
    }
    return bytes;
}

bool storePixels(FlashImage& image, std::int32_t& writeCursor, const DecodedPicture& picture) {
    const std::vector<std::uint8_t> bytes = columnOrderPixels(picture);
    const auto count = static_cast<std::int64_t>(bytes.size() / 2);
    const std::int64_t moving = std::min(count, pixelsBeforeStop(writeCursor));
    const std::span<const std::uint8_t> all(bytes);
    std::int64_t stored = image.store(writeCursor, all.first(static_cast<std::size_t>(2 * moving)));
    const std::int64_t stop = writeCursor + 2 * moving;
    if (count > moving) {
        // Every later pixel goes where the cursor stopped, each over the one before.
        stored += image.store(stop, all.last(2));
    }
    writeCursor = static_cast<std::int32_t>(stop);
    return count == moving && stored == 2 * count;
}

void skipPixels(std::int32_t& writeCursor, std::int64_t pixelCount) {
    writeCursor += static_cast<std::int32_t>(2 * std::min(pixelCount, pixelsBeforeStop(writeCursor)));
}

} // namespace lumivert
