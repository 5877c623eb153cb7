#include "image/workbench.h"
#include "pages/page_region.h"
#include "tests/transfer/linked_module.h"
#include "tests/transfer/upload_check.h"
#include "transfer/region_upload.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace lumivert::testing {
namespace {

struct RegionCase {
    const char* name;
    UploadRegion region;
    std::vector<PageRange> ranges;
};

const RegionCase regionCases[] = {
    {"gb12", UploadRegion::Font12, {{80, 768}}},
    {"gb16", UploadRegion::Font16, {{848, 1024}}},
    {"ascii", UploadRegion::Ascii, {{1872, 16}}},
    {"extracted", UploadRegion::Extracted, {{32, 32}, {1888, 1696}}},
    {"pages", UploadRegion::Pages, {{3584, 512}}},
    {"pictures", UploadRegion::Pictures, {{64, 16}, {4096, 4096}}},
};

TEST(RegionUploadTest, EachRegionSendsItsRangesInOrder) {
    for (const auto& [name, region, ranges] : regionCases) {
        EXPECT_EQ(uploadRanges(region, RegionMap::standard()), ranges) << name;
    }
}

// Scattered bytes in every region (and in the region nothing uploads): each upload sends
// exactly the blocks that hold data under the sector rule, in ascending order within each
// range, and the module ends up with the image's bytes there.
TEST(RegionUploadTest, EachUploadSendsTheBlocksThatHoldData) {
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    std::mt19937 random(9);
    for (const std::int32_t first : {16, 32, 64, 80, 848, 1872, 1888, 3584, 4096}) {
        for (int i = 0; i < 12; ++i) {
            const auto offset =
                std::int64_t{first} * 256 + static_cast<std::int64_t>(random() % 16384);
            workbench->image.store(offset, static_cast<std::uint8_t>(random() % 255));
        }
    }
    workbench->image.store(0x1FFFFF, 0x00); // the last byte of the flash

    for (const auto& [name, region, ranges] : regionCases) {
        SCOPED_TRACE(name);
        std::vector<std::int32_t> expected;
        for (const auto& range : ranges) {
            const auto blocks = expectedBlocks(workbench->image, range.start, range.count);
            expected.insert(expected.end(), blocks.begin(), blocks.end());
        }
        ASSERT_GE(expected.size(), 2u);
        LinkedModule line;
        RecordingDisplay display;
        EXPECT_EQ(uploadRegion(line.link, workbench->image, workbench->regionMap, region, display),
                  TransferEnd::Finished);
        expectModuleReceived(line.module, workbench->image, expected);
        EXPECT_EQ(display.captions.back(), "");
    }
}

// The block of page 1 opens the sector of pages 1 to 4, so it goes with page 3's text; pages
// 2 and 4 hold nothing and stay behind.
TEST(RegionUploadTest, OnlyPageThreeWithTextSendsPagesOneAndThree) {
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    const std::vector<PageRow> rows = {
        numberOnlyRow(1), numberOnlyRow(2), {"3", "", "CLS(0);|R|ADS12(0,0,'\xB4\xAE',15);"}};
    buildPageRegion(workbench->image, workbench->regionMap, rows);
    const std::vector<std::int32_t> pagesOneAndThree = {3584, 3592};
    ASSERT_EQ(expectedBlocks(workbench->image, 3584, 512), pagesOneAndThree);
    LinkedModule line;
    RecordingDisplay display;
    EXPECT_EQ(uploadRegion(line.link, workbench->image, workbench->regionMap, UploadRegion::Pages,
                           display),
              TransferEnd::Finished);
    expectModuleReceived(line.module, workbench->image, pagesOneAndThree);
}

TEST(RegionUploadTest, AnErasedImageSendsNothing) {
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    LinkedModule line;
    for (const auto& [name, region, ranges] : regionCases) {
        RecordingDisplay display;
        uploadRegion(line.link, workbench->image, workbench->regionMap, region, display);
        // Each range shows its entry, every block and its end.
        std::size_t captions = 0;
        for (const auto& range : ranges) {
            captions += static_cast<std::size_t>(range.count / 4) + 2;
        }
        EXPECT_EQ(display.captions.size(), captions) << name;
    }
    EXPECT_TRUE(line.module.commands().empty());
}

} // namespace
} // namespace lumivert::testing
