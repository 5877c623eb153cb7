#include "image/block_rule.h"

#include <gtest/gtest.h>
#include <vector>

namespace lumivert {
namespace {

std::vector<std::int32_t> pagesSent(const FlashImage& image, std::int32_t first,
                                    std::int32_t count) {
    std::vector<std::int32_t> sent;
    for (std::int32_t page = first; page + 4 <= first + count; page += 4) {
        if (!isBlockEmpty(image, page)) {
            sent.push_back(page);
        }
    }
    return sent;
}

TEST(BlockRule, SectorOpenerGoesWhenAnyOfTheSectorHoldsData) {
    struct Case {
        const char* name;
        std::int64_t dataOffset; // one non-0xFF byte, or -1 for none
        std::vector<std::int32_t> sent;
    };
    const Case cases[] = {
        {"empty sector", -1, {}},
        {"data in the first block", 80 * 256 + 5, {80}},
        {"data in the third block", 88 * 256 + 1023, {80, 88}},
        {"data in the last byte of the sector", 96 * 256 - 1, {80, 92}},
    };
    for (const auto& c : cases) {
        FlashImage image;
        image.store(c.dataOffset, 0x00);
        EXPECT_EQ(pagesSent(image, 80, 16), c.sent) << c.name;
        EXPECT_EQ(countBlocksToSend(image, 80, 16), static_cast<std::int32_t>(c.sent.size()))
            << c.name;
    }
}

TEST(BlockRule, LastSectorOfTheImage) {
    FlashImage image;
    image.store(0x1FFBFF, 0x00);             // the last byte of the block at page 8184
    EXPECT_FALSE(isBlockEmpty(image, 8176)); // tests 0x1FF000 to 0x1FFFFF
    EXPECT_TRUE(isBlockEmpty(image, 8188));  // tests only 0x1FFC00 to 0x1FFFFF

    image.store(0x1FFFFF, 0x00);
    EXPECT_FALSE(isBlockEmpty(image, 8188));
}

TEST(BlockRule, LeftoverPagesAreNotSent) {
    FlashImage image;
    image.store(0x5400, 0x00);                     // page 84: the second block of the range
    EXPECT_EQ(countBlocksToSend(image, 80, 6), 1); // only the block at 80, which opens the sector
    EXPECT_EQ(countBlocksToSend(image, 80, 3), 0);
    EXPECT_EQ(countBlocksToSend(image, 80, 0), 0);
}

} // namespace
} // namespace lumivert
