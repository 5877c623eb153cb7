#include "image/workbench.h"
#include "tests/transfer/linked_module.h"
#include "tests/transfer/upload_check.h"
#include "transfer/block_upload.h"
#include "transfer/transfer_error.h"

#include <gtest/gtest.h>
#include <memory>

namespace lumivert::testing {
namespace {

using std::chrono::milliseconds;

std::string writing(int block, int last) {
    return "写入中...(" + std::to_string(block) + "/" + std::to_string(last) + ")";
}

class BlockUploadTest : public ::testing::Test {
protected:
    BlockUploadTest() { workbench->reset(); }

    FlashImage& image() { return workbench->image; }

    void put(std::int32_t page, std::int32_t offsetInPage, std::uint8_t value) {
        image().store(std::int64_t{page} * 256 + offsetInPage, value);
    }

    TransferEnd upload(LinkedModule& line, std::int32_t start, std::int32_t count) {
        return UploadPages(line.link, image(), start, count, display);
    }

    std::unique_ptr<Workbench> workbench = std::make_unique<Workbench>();
    RecordingDisplay display;
};

TEST(BlockFormatTest, CommandAndScrambling) {
    EXPECT_EQ(blockCommand(80), "BUP(80,232)\r");
    EXPECT_EQ(blockCommand(4096), "BUP(4096,232)\r");

    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    workbench->image.store(std::int64_t{80} * 256 + 300, 0x00);
    std::array<std::uint8_t, 1024> block{};
    scrambleBlock(workbench->image, 80, block);
    EXPECT_EQ(block[300], 0x2C);
    EXPECT_EQ(block[0], 0xFF);
    EXPECT_EQ(block[1], 0xFE);
    EXPECT_EQ(block[256], 0xFF);
    EXPECT_EQ(block[1023], 0x00);
}

TEST_F(BlockUploadTest, ShowsEachBlockOfSixteenPages) {
    LinkedModule line;
    for (std::int32_t page = 80; page < 96; page += 4) {
        put(page, 7, 0x12);
    }
    EXPECT_EQ(upload(line, 80, 16), TransferEnd::Finished);
    EXPECT_EQ(display.captions, (std::vector<std::string>{"写入中...", writing(0, 3), writing(1, 3),
                                                          writing(2, 3), writing(3, 3), ""}));
    EXPECT_EQ(display.positions, (std::vector<int>{0, 25, 50, 75, 0}));
    expectModuleReceived(line.module, image(), {80, 84, 88, 92});
}

TEST_F(BlockUploadTest, FewerThanFourPagesSendNothing) {
    LinkedModule line;
    put(80, 0, 0x00);
    for (const std::int32_t count : {3, 0}) {
        display.captions.clear();
        display.positions.clear();
        EXPECT_EQ(upload(line, 80, count), TransferEnd::Finished);
        EXPECT_EQ(display.captions, (std::vector<std::string>{"写入中...", ""})) << count;
        EXPECT_EQ(display.positions, std::vector<int>{0}) << count;
    }
    EXPECT_TRUE(line.module.commands().empty());
}

// Six pages are one block; the two pages after it are not sent, though their data makes
// the block, which opens its sector, count as holding data.
TEST_F(BlockUploadTest, SixPagesAreOneBlock) {
    LinkedModule line;
    EXPECT_EQ(upload(line, 96, 6), TransferEnd::Finished);
    EXPECT_EQ(display.captions, (std::vector<std::string>{"写入中...", writing(0, 0), ""}));
    EXPECT_EQ(display.positions, (std::vector<int>{0, 0}));
    EXPECT_TRUE(line.module.commands().empty());

    put(100, 1, 0x55);
    EXPECT_EQ(upload(line, 96, 6), TransferEnd::Finished);
    expectModuleReceived(line.module, image(), {96});
}

TEST_F(BlockUploadTest, TheFirstBlockOfASectorGoesWithAnyDataInTheSector) {
    struct Case {
        const char* name;
        std::vector<std::int32_t> pagesWithData;
        std::vector<std::int32_t> sent;
    };
    const Case cases[] = {
        {"only the third block", {136}, {128, 136}},
        {"only the first block", {129}, {128}},
        {"second and fourth", {135, 143}, {128, 132, 140}},
        {"nothing", {}, {}},
    };
    for (const auto& [name, pagesWithData, sent] : cases) {
        SCOPED_TRACE(name);
        workbench->reset();
        for (const std::int32_t page : pagesWithData) {
            put(page, 255, 0xA0);
        }
        ASSERT_EQ(expectedBlocks(image(), 128, 16), sent);
        LinkedModule line;
        EXPECT_EQ(upload(line, 128, 16), TransferEnd::Finished);
        expectModuleReceived(line.module, image(), sent);
    }
}

// The module takes its time over each answer; every byte still leaves only after it.
TEST_F(BlockUploadTest, WaitsForSlowAnswers) {
    VirtualModuleOptions slow;
    slow.delay = milliseconds(200);
    LinkedModule line(slow);
    put(3584, 0, 0x41);
    put(3600, 1023, 0x00);
    EXPECT_EQ(upload(line, 3584, 32), TransferEnd::Finished);
    expectModuleReceived(line.module, image(), {3584, 3600});
}

TEST_F(BlockUploadTest, ASilentModuleEndsTheUploadWithAMessage) {
    VirtualModuleOptions silent;
    silent.silent = true;
    LinkedModule line(silent);
    put(80, 0, 0x01);
    put(84, 0, 0x01);
    try {
        upload(line, 80, 16);
        FAIL() << "the upload ended without an answer";
    } catch (const TransferError& error) {
        EXPECT_STREQ(error.what(), "模块无应答：BUP(80,232)");
    }
    EXPECT_EQ(display.captions.back(), "");
    EXPECT_EQ(display.positions.back(), 0);
    EXPECT_EQ(line.module.commands(), std::vector<std::string>{"BUP(80,232)"});
}

TEST_F(BlockUploadTest, AClosedPortEndsTheUploadAtOnce) {
    LinkedModule line;
    put(80, 0, 0x01);
    line.comm.ClosePort();
    try {
        upload(line, 80, 16);
        FAIL() << "a refused write went unnoticed";
    } catch (const TransferError& error) {
        EXPECT_STREQ(error.what(), "串口未打开或已断开，无法发送：BUP(80,232)");
    }
    EXPECT_EQ(display.captions.back(), "");
}

// A host whose wait sees the user close the port or the window.
class InterruptingHost : public PortEventHost {
public:
    InterruptingHost(TComm& comm, bool closePort)
        : PortEventHost(comm), comm_(comm), closePort_(closePort) {}

    void wait(milliseconds /*most*/) override {
        if (closePort_) {
            comm_.ClosePort();
        } else {
            cancelled_ = true;
        }
    }
    bool cancelled() override { return cancelled_; }

private:
    TComm& comm_;
    bool closePort_;
    bool cancelled_ = false;
};

// A silent module: only noticing the closed port can end the wait before its time limit,
// which would say the module did not answer.
TEST_F(BlockUploadTest, ClosingThePortEndsTheWaitAtOnce) {
    VirtualModuleOptions silent;
    silent.silent = true;
    LinkedModule line(silent);
    put(80, 0, 0x01);
    InterruptingHost closing(line.comm, true);
    ModuleLink link{line.channel, closing};
    try {
        UploadPages(link, image(), 80, 16, display);
        FAIL() << "the wait went on with the port closed";
    } catch (const TransferError& error) {
        EXPECT_STREQ(error.what(), "串口已关闭，不再等待应答：BUP(80,232)");
    }
}

TEST_F(BlockUploadTest, ACancelledUploadStopsDuringItsWait) {
    VirtualModuleOptions slow;
    slow.delay = milliseconds(100);
    LinkedModule line(slow);
    put(80, 0, 0x01);
    put(84, 0, 0x01);
    InterruptingHost cancelling(line.comm, false);
    ModuleLink link{line.channel, cancelling};
    EXPECT_EQ(UploadPages(link, image(), 80, 16, display), TransferEnd::Cancelled);
    EXPECT_EQ(display.captions.back(), "");
    // Whatever the upload sent goes before the test's own data for the block and a last
    // command.
    const std::string last = std::string(1024, 'F') + "END\r";
    line.comm.WriteData(reinterpret_cast<const std::uint8_t*>(last.data()),
                        static_cast<std::uint16_t>(last.size()));
    ASSERT_TRUE(line.module.waitForCounts([](const auto& counts) { return counts.commands >= 2; },
                                          std::chrono::seconds(10)));
    EXPECT_EQ(line.module.commands(), (std::vector<std::string>{"BUP(80,232)", "END"}));
    EXPECT_EQ(line.module.flash()[80 * 256], 'F');
}

} // namespace
} // namespace lumivert::testing
