#include "image/region_table.h"

#include <gtest/gtest.h>

namespace lumivert {
namespace {

TEST(RegionTable, RegionsFollowEachOtherUpToTheImageEnd) {
    const auto regions = contentRegions(RegionMap::standard());
    ASSERT_EQ(regions.size(), 8u);
    EXPECT_EQ(regions.front().firstOffset(), 0x2000);
    for (std::size_t i = 1; i < regions.size(); ++i) {
        EXPECT_EQ(regions[i].firstPage, regions[i - 1].firstPage + regions[i - 1].pageCount)
            << regions[i].name;
    }
    EXPECT_EQ(regions.back().firstOffset() + regions.back().size(), kImageSize);
}

TEST(RegionTable, UsageCountsDataAndBlocks) {
    FlashImage image;
    for (const auto& usage : regionUsage(image, RegionMap::standard())) {
        EXPECT_EQ(usage.usedBytes, 0) << usage.region.name;
        EXPECT_EQ(usage.blocksToSend, 0) << usage.region.name;
    }

    image.store(0x5000 + 2048, 0x00); // third block of the 12-dot font's first sector
    image.store(0x5000 + 2049, 0x01);
    const auto usage = regionUsage(image, RegionMap::standard());
    const auto& gb12 = usage[2];
    EXPECT_EQ(gb12.region.name, "gb12");
    EXPECT_EQ(gb12.usedBytes, 2);
    EXPECT_EQ(gb12.blocksToSend, 2); // the sector's opener and the block itself
}

} // namespace
} // namespace lumivert
