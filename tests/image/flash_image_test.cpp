#include "image/flash_image.h"

#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace lumivert {
namespace {

TEST(FlashImage, StartsErasedWithTheSpareByte) {
    FlashImage image;
    EXPECT_TRUE(image.isErased(0, kImageSize));
    EXPECT_EQ(image.load(kImageSize), 0xFF);
}

TEST(FlashImage, StoreKeepsEveryByteInsideTheImage) {
    struct Case {
        std::int64_t offset;
        bool stored;
    };
    const Case cases[] = {
        {-1, false}, {0, true}, {0x1FFFFF, true}, {0x200000, false}, {0x7FFFFFFF, false},
    };
    for (const auto& c : cases) {
        FlashImage image;
        EXPECT_EQ(image.store(c.offset, 0x12), c.stored) << c.offset;
        EXPECT_EQ(image.load(c.offset), c.stored ? 0x12 : 0xFF) << c.offset;
        EXPECT_EQ(image.load(kImageSize), 0xFF) << "spare byte after a store at " << c.offset;
    }
}

TEST(FlashImage, RunStoreDropsWhatFallsOutside) {
    FlashImage image;
    const std::vector<std::uint8_t> run(10, 0x00);
    EXPECT_EQ(image.store(kImageSize - 4, run), 4);
    EXPECT_EQ(image.load(kImageSize - 5), 0xFF);
    EXPECT_EQ(image.load(kImageSize - 1), 0x00);
    EXPECT_EQ(image.load(kImageSize), 0xFF);

    EXPECT_EQ(image.store(-3, run), 7);
    EXPECT_EQ(image.load(6), 0x00);
    EXPECT_EQ(image.load(7), 0xFF);
}

TEST(FlashImage, ErasedTestLooksOnlyBelowTheImageEnd) {
    FlashImage image;
    image.store(0x1000, 0x00);
    EXPECT_FALSE(image.isErased(0x1000, 1));
    EXPECT_TRUE(image.isErased(0x1001, 4096));
    EXPECT_TRUE(image.isErased(kImageSize - 1024, 4096)); // runs past the end
    EXPECT_TRUE(image.isErased(kImageSize + 10, 1024));   // nothing of it inside
}

TEST(FlashImage, LoadBlockCopiesOneFlashBlock) {
    FlashImage image;
    image.store(0x5000, 0x01); // page 80
    image.store(0x5000 + 1023, 0x02);
    image.store(0x5000 + 1024, 0x03);
    std::array<std::uint8_t, kFlashBlockSize> block{};
    image.loadBlock(80, block);
    EXPECT_EQ(block.front(), 0x01);
    EXPECT_EQ(block.back(), 0x02);
}

} // namespace
} // namespace lumivert
