// Which blocks an upload sends: the sector rule's, and only those of changed Sectors.
#include "image/workbench.h"
#include "tests/transfer/upload_check.h"
#include "transfer/upload_plan.h"

#include <gtest/gtest.h>
#include <memory>

namespace lumivert::testing {
namespace {

// The 16-dot font region, FlashPages 848 to 1871: 64 Sectors, 256 blocks.
const PageRange kFont16{848, 1024};

class UploadPlanTest : public ::testing::Test {
protected:
    UploadPlanTest() {
        workbench->reset();
        for (std::int64_t offset = 0x35000; offset < 0x75000; offset += 3000) {
            image().store(offset, static_cast<std::uint8_t>(offset >> 4));
        }
    }

    FlashImage& image() { return workbench->image; }

    std::vector<std::int32_t> planned(const UploadPlan& plan) const {
        std::vector<std::int32_t> pages;
        for (std::int32_t page = kFont16.start; page < kFont16.start + kFont16.count; page += 4) {
            if (plan.sends(page)) {
                pages.push_back(page);
            }
        }
        return pages;
    }

    // The journal of a full upload of the region: every Sector as the image has it.
    UploadJournal journalOfTheImage() {
        UploadJournal journal;
        for (std::int32_t sector = kFont16.start / 16;
             sector < (kFont16.start + kFont16.count) / 16; ++sector) {
            journal.record(sector, hashBytes(image().image().subspan(
                                       static_cast<std::size_t>(sector) * 4096, 4096)));
        }
        return journal;
    }

    std::unique_ptr<Workbench> workbench = std::make_unique<Workbench>();
};

TEST_F(UploadPlanTest, WithoutAJournalTheSectorRuleDecides) {
    const UploadPlan plan(image(), {kFont16}, nullptr);
    const auto expected = expectedBlocks(image(), kFont16.start, kFont16.count);
    EXPECT_EQ(planned(plan), expected);
    EXPECT_EQ(plan.blocksToSend(), static_cast<std::int64_t>(expected.size()));
    EXPECT_EQ(plan.blocksToSend(kFont16), plan.blocksToSend());
    EXPECT_EQ(plan.sectorsSkipped(), 0);
}

// Three Sectors changed: one whose data grew into a block that was empty, one erased but for
// its third block, one unknown to the journal; each goes with the blocks the rule sends.
TEST_F(UploadPlanTest, OnlyTheSectorsThatDifferFromTheJournalGo) {
    UploadJournal journal = journalOfTheImage();
    image().store(std::int64_t{860} * 256 + 5, 0x01); // Sector 53, block at 860
    const std::int64_t sector54 = std::int64_t{864} * 256;
    for (std::int64_t at = sector54; at < sector54 + 4096; ++at) {
        image().store(at, 0xFF);
    }
    image().store(sector54 + 2048 + 7, 0x02); // only the third block of Sector 54 holds data
    journal.forget(100);                      // Sector 100, at FlashPage 1600

    const UploadPlan plan(image(), {kFont16}, &journal);
    std::vector<std::int32_t> expected;
    for (const std::int32_t sector : {848, 864, 1600}) {
        const auto blocks = expectedBlocks(image(), sector, 16);
        expected.insert(expected.end(), blocks.begin(), blocks.end());
    }
    ASSERT_EQ(expected.front(), 848);
    ASSERT_EQ(std::vector<std::int32_t>(expected.begin() + 3, expected.begin() + 5),
              (std::vector<std::int32_t>{864, 872}));
    EXPECT_EQ(planned(plan), expected);
    EXPECT_EQ(plan.sectorsSkipped(), 64 - 3);
    EXPECT_TRUE(plan.lastInSector(860));
    EXPECT_FALSE(plan.lastInSector(864));
    EXPECT_TRUE(plan.lastInSector(872));
}

TEST_F(UploadPlanTest, AnUnchangedImageSendsNothing) {
    const UploadJournal journal = journalOfTheImage();
    const UploadPlan plan(image(), {kFont16}, &journal);
    EXPECT_EQ(plan.blocksToSend(), 0);
    EXPECT_EQ(plan.sectorsSkipped(), 64);
}

} // namespace
} // namespace lumivert::testing
