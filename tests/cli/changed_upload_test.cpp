// Uploads against a module that erases a Sector on its first block: only what changed goes,
// an upload that stopped goes on where it stopped, and success is reported only for what
// reached the module.
#include "tests/cli/transfer_folder.h"
#include "tests/transfer/upload_check.h"
#include "transfer/upload_journal.h"

#include <algorithm>
#include <thread>

namespace lumivert::testing {
namespace {

using std::chrono::milliseconds;

// The 16-dot font region, FlashPages 848 to 1871.
constexpr std::int32_t kFont16 = 848;
constexpr std::int32_t kFont16Pages = 1024;

class ChangedUploadTest : public TransferVerbsTest {
protected:
    ChangedUploadTest() {
        workbench->reset();
        for (std::int64_t offset = 0x35000; offset < 0x75000; offset += 3000) {
            image().store(offset, static_cast<std::uint8_t>(offset >> 3));
        }
        storeImage(image());
    }

    FlashImage& image() { return workbench->image; }

    static VirtualModuleOptions erasing() {
        VirtualModuleOptions options;
        options.eraseSectors = true;
        return options;
    }

    // The blocks the module received after its first `count`.
    static std::vector<std::int32_t> blocksAfter(const VirtualModule& module, std::size_t count) {
        const auto blocks = module.blocks();
        return {blocks.begin() + static_cast<std::ptrdiff_t>(count), blocks.end()};
    }

    // Every Sector of the image that holds data is in the module's flash as in the image.
    void expectModuleHoldsTheImage(const VirtualModule& module) {
        const auto flash = module.flash();
        const auto bytes = image().image();
        for (std::size_t sector = 0; sector < flash.size(); sector += 4096) {
            const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(sector);
            if (std::all_of(begin, begin + 4096, [](std::uint8_t byte) { return byte == 0xFF; })) {
                continue;
            }
            EXPECT_TRUE(std::equal(begin, begin + 4096,
                                   flash.begin() + static_cast<std::ptrdiff_t>(sector)))
                << "Sector " << sector / 4096;
        }
    }

    std::unique_ptr<Workbench> workbench = std::make_unique<Workbench>();
};

// After a full upload three Sectors change: a byte in one, one emptied but for its third
// block, one that held nothing before. Only their blocks go, as the sector rule sends them.
TEST_F(ChangedUploadTest, SendsOnlyTheSectorsThatChanged) {
    const std::int64_t filled = std::int64_t{1856} * 256;
    for (std::int64_t at = filled; at < filled + 4096; ++at) {
        image().store(at, 0xFF);
    }
    storeImage(image());
    VirtualModule module(erasing());
    module.start();
    ASSERT_EQ(lumivert({"upload", "gb16"}, &module).status, 0);

    image().store(std::int64_t{900} * 256 + 17, 0x01);
    const std::int64_t emptied = std::int64_t{1024} * 256;
    for (std::int64_t at = emptied; at < emptied + 4096; ++at) {
        image().store(at, 0xFF);
    }
    image().store(emptied + 2048 + 9, 0x02);
    image().store(filled + 1024 + 3, 0x03);
    storeImage(image());

    const std::size_t before = module.blocks().size();
    const Outcome changed = lumivert({"upload", "gb16", "--changed"}, &module);
    ASSERT_EQ(changed.status, 0) << changed.err;
    std::vector<std::int32_t> expected;
    for (const std::int32_t sector : {896, 1024, 1856}) {
        const auto blocks = expectedBlocks(image(), sector, 16);
        expected.insert(expected.end(), blocks.begin(), blocks.end());
    }
    EXPECT_EQ(blocksAfter(module, before), expected);
    EXPECT_EQ(changed.out, "gb16: " + std::to_string(expected.size()) + " blocks sent\n");
    EXPECT_NE(changed.err.find(" sectors skipped\n"), std::string::npos) << changed.err;
    EXPECT_EQ(changed.err.find(" 0 sectors skipped\n"), std::string::npos) << changed.err;
    expectModuleHoldsTheImage(module);
    EXPECT_TRUE(module.protocolErrors().empty()) << module.protocolErrors().front();
}

// The module stops answering in the middle of a Sector. The journal holds every Sector it
// acknowledged whole; the next upload of what changed starts again at the first block of
// the Sector it was in and sends the rest.
TEST_F(ChangedUploadTest, AnUploadThatStoppedGoesOnFromTheSectorItWasIn) {
    const auto planned = expectedBlocks(image(), kFont16, kFont16Pages);
    VirtualModuleOptions stopping = erasing();
    stopping.answeredBlocks = 37;
    VirtualModule module(stopping);
    module.start();
    const Outcome stopped = lumivert({"upload", "gb16"}, &module);
    EXPECT_EQ(stopped.status, 1);
    EXPECT_NE(stopped.err.find("模块无应答"), std::string::npos) << stopped.err;

    module.answerAgain();
    const std::size_t before = module.blocks().size();
    const Outcome resumed = lumivert({"upload", "gb16", "--changed"}, &module);
    ASSERT_EQ(resumed.status, 0) << resumed.err;
    const std::int32_t interrupted = planned[37] / 16;
    std::vector<std::int32_t> rest;
    std::copy_if(planned.begin(), planned.end(), std::back_inserter(rest),
                 [&](std::int32_t page) { return page / 16 >= interrupted; });
    EXPECT_EQ(blocksAfter(module, before), rest);
    expectModuleHoldsTheImage(module);
}

// A journal that cannot be trusted is no journal: everything goes again, with a notice.
TEST_F(ChangedUploadTest, ADamagedJournalMeansAFullUpload) {
    VirtualModule module(erasing());
    module.start();
    ASSERT_EQ(lumivert({"upload", "gb16"}, &module).status, 0);
    const std::size_t full = module.blocks().size();
    std::ofstream(folder / "work" / "upload.journal", std::ios::app) << "0 0\n";

    const Outcome again = lumivert({"upload", "gb16", "--changed"}, &module);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(module.blocks().size(), 2 * full);
    EXPECT_NE(again.err.find("已损坏，全部上传"), std::string::npos) << again.err;
}

TEST_F(ChangedUploadTest, ForgetDeletesTheJournal) {
    VirtualModule module(erasing());
    module.start();
    ASSERT_EQ(lumivert({"upload", "gb16"}, &module).status, 0);
    ASSERT_TRUE(std::filesystem::exists(folder / "work" / "upload.journal"));
    const Outcome forget = lumivert({"upload", "--forget"});
    ASSERT_EQ(forget.status, 0) << forget.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "work" / "upload.journal"));
    EXPECT_EQ(lumivert({"upload"}).status, 2);
    EXPECT_EQ(lumivert({"upload", "gb16"}).status, 2) << "no port";
}

// Answers longer than a read, so each arrives in two deliveries and the upload runs ahead of
// a module that takes in its line at 460,800 baud: the verb waits until its bytes have left
// the port, so when it says it succeeded, the module gets every block.
TEST_F(ChangedUploadTest, SuccessIsReportedOnlyForBytesThatReachedTheModule) {
    workbench->reset();
    for (std::int64_t offset = 0x5000; offset < 0x5000 + 16 * 1024; offset += 1024) {
        image().store(offset, 0x5A);
    }
    storeImage(image());
    VirtualModuleOptions slowLine;
    slowLine.baud = 460800;
    slowLine.reply = std::string(4500, 'K') + "\r\n";
    VirtualModule module(slowLine);
    module.start();
    const Outcome run = lumivert({"upload", "gb12"}, &module);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("may have run ahead"), std::string::npos) << run.err;
    const auto expected = expectedBlocks(image(), 80, 768);
    module.waitForCounts([&](const auto& counts) { return counts.blocks >= expected.size(); },
                         std::chrono::seconds(20));
    EXPECT_EQ(module.blocks(), expected);
    expectModuleHoldsTheImage(module);
}

// The far end goes away half-way: the verb ends at once, naming the port.
TEST_F(ChangedUploadTest, APortThatGoesAwayEndsTheUploadNamingIt) {
    VirtualModule module;
    module.start();
    std::thread unplug([&module] {
        module.waitForCounts([](const auto& counts) { return counts.blocks >= 5; },
                             std::chrono::seconds(20));
        module.hangUp();
    });
    const Outcome run = lumivert({"upload", "gb16"}, &module);
    unplug.join();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "lumivert: 串口已断开：" + module.path() + "\n");
}

} // namespace
} // namespace lumivert::testing
