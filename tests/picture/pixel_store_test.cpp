#include "picture/pixel_store.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace lumivert {
namespace {

DecodedPicture randomPicture(int width, int height, unsigned seed) {
    DecodedPicture picture{width, height, width, height, {}};
    std::mt19937 random(seed);
    picture.rgbx.resize(static_cast<std::size_t>(width) * height * 4);
    for (auto& byte : picture.rgbx) {
        byte = static_cast<std::uint8_t>(random());
    }
    return picture;
}

// The walk as the module's format describes it, one pixel at a time: column by column, each
// from the top; each pixel's two bytes at the cursor, which then moves by 2 unless it stands at
// 0x1FFFFF or beyond.
void storeOneByOne(FlashImage& image, std::int32_t& cursor, const DecodedPicture& picture) {
    for (int x = 0; x < picture.width; ++x) {
        for (int y = 0; y < picture.height; ++y) {
            const std::uint8_t* rgb = picture.pixel(x, y);
            image.store(cursor, static_cast<std::uint8_t>((rgb[0] & 0xF8) | (rgb[1] >> 5)));
            image.store(cursor + 1,
                        static_cast<std::uint8_t>(((rgb[1] << 3) & 0xE0) | (rgb[2] >> 3)));
            if (cursor < 0x1FFFFF) {
                cursor += 2;
            }
        }
    }
}

// Pictures of every shape the walk handles in its own way (whole tiles, bands, the columns and
// rows beside them), at cursors that reach the end of the flash on an even or odd offset.
TEST(PixelStore, StoresWhatThePixelByPixelWalkStores) {
    struct Case {
        int width, height;
        std::int32_t cursor;
    };
    const Case cases[] = {
        {1, 1, 1048576},
        {8, 8, 1048576},
        {37, 45, 1048576},
        {64, 33, 1048576},
        {9, 71, 1048576},
        {300, 7, 1048576},
        {37, 45, 0x200000 - 2 * 37 * 20 - 10}, // cut inside a column
        {37, 45, 0x200000 - 2 * 37 * 45 + 1},  // odd: the last byte lands on 0x1FFFFF
        {16, 16, 0x200000 - 2 * 16 * 3 - 1},   // odd, stopping at 0x1FFFFF
        {5, 5, 0x1FFFFF},
        {5, 5, 0x200000},
        {5, 5, -7},
    };
    unsigned seed = 1;
    for (const auto& c : cases) {
        const DecodedPicture picture = randomPicture(c.width, c.height, seed++);
        auto walked = std::make_unique<FlashImage>();
        auto expected = std::make_unique<FlashImage>();
        std::int32_t walkedCursor = c.cursor;
        std::int32_t expectedCursor = c.cursor;
        const bool whole = storePixels(*walked, walkedCursor, picture);
        storeOneByOne(*expected, expectedCursor, picture);

        const std::string what = std::to_string(c.width) + "x" + std::to_string(c.height) + " at " +
                                 std::to_string(c.cursor);
        EXPECT_EQ(walkedCursor, expectedCursor) << what;
        EXPECT_TRUE(
            std::equal(walked->image().begin(), walked->image().end(), expected->image().begin()))
            << what;
        EXPECT_EQ(walked->load(0x200000), 0xFF) << what;
        const bool fits = c.cursor >= 0 && c.cursor + 2 * c.width * c.height <= 0x200000;
        EXPECT_EQ(whole, fits) << what;

        std::int32_t skipped = c.cursor;
        skipPixels(skipped, static_cast<std::int64_t>(c.width) * c.height);
        EXPECT_EQ(skipped, expectedCursor) << what;
    }
}

} // namespace
} // namespace lumivert
