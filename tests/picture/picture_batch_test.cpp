#include "common/workbench_error.h"
#include "picture/picture_batch.h"
#include "tests/picture/picture_fixtures.h"
#include "tests/picture/recording_sink.h"
#include "tests/support/temp_folder.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace lumivert::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::int64_t kIndex = 16384;
constexpr std::int64_t kEntrySize = 8;
constexpr std::int32_t kData = 1048576;

// Counts the host's calls and can cancel after a number of pumps.
class CountingHost : public OperationHost {
public:
    void pump() override { ++pumps; }
    bool cancelled() override { return cancelAfter >= 0 && pumps >= cancelAfter; }
    void progress(std::int64_t done, std::int64_t total) override {
        lastDone = done;
        lastTotal = total;
    }
    int pumps = 0;
    int cancelAfter = -1;
    std::int64_t lastDone = -1;
    std::int64_t lastTotal = -1;
};

class PictureBatchTest : public ::testing::Test {
protected:
    PictureBatchTest() {
        std::filesystem::create_directory(folder_ / "pic");
        workbench_->reset();
    }

    void picture(int number, const Pixels& pixels) {
        writePicture(folder_ / "pic" / (std::to_string(number) + ".jpg"), pixels);
    }

    void run() { convertAllPictures(*workbench_, sink_, host_); }

    Bytes entry(int number) const { return bytes(kIndex + kEntrySize * number, 8); }

    Bytes bytes(std::int64_t offset, std::size_t count) const {
        Bytes result;
        for (std::size_t i = 0; i < count; ++i) {
            result.push_back(workbench_->image.load(offset + static_cast<std::int64_t>(i)));
        }
        return result;
    }

    static Bytes entryBytes(int width, int height, std::int32_t start) {
        return {static_cast<std::uint8_t>(width >> 8),
                static_cast<std::uint8_t>(width),
                static_cast<std::uint8_t>(height >> 8),
                static_cast<std::uint8_t>(height),
                0,
                static_cast<std::uint8_t>(start >> 16),
                static_cast<std::uint8_t>(start >> 8),
                static_cast<std::uint8_t>(start)};
    }

    TempFolder folder_;
    WorkingDirectory workingDirectory_{folder_.path()};
    std::unique_ptr<Workbench> workbench_ = std::make_unique<Workbench>();
    RecordingSink sink_;
    CountingHost host_;
};

TEST_F(PictureBatchTest, NoPicturesClearsTheDataRegionAndNothingElse) {
    workbench_->image.store(kData + 5, std::uint8_t{0x12});
    workbench_->image.store(kIndex + 8, std::uint8_t{0x34});
    workbench_->image.store(kData - 1, std::uint8_t{0x56});
    run();
    EXPECT_TRUE(workbench_->image.isErased(kData, kData));
    EXPECT_EQ(workbench_->image.load(kIndex + 8), 0x34);
    EXPECT_EQ(workbench_->image.load(kData - 1), 0x56);
    EXPECT_TRUE(sink_.lines.empty());
    EXPECT_EQ(workbench_->generateMode, 0);
    EXPECT_EQ(host_.pumps, 0);
    EXPECT_EQ(host_.lastDone, 512);
}

TEST_F(PictureBatchTest, PacksTheExistingPicturesInNumberOrder) {
    workbench_->image.store(kIndex + kEntrySize * 3, std::span<const std::uint8_t>(Bytes{1, 2, 3}));
    picture(5, solidPixels(4, 3, 0, 0, 255));
    picture(1, solidPixels(10, 20, 255, 0, 0));
    picture(2, solidPixels(7, 5, 0, 255, 0));
    run();
    EXPECT_EQ(sink_.numbers, (std::vector<int>{1, 2, 5}));
    EXPECT_EQ(entry(1), entryBytes(10, 20, kData));
    EXPECT_EQ(entry(2), entryBytes(7, 5, kData + 400));
    EXPECT_EQ(entry(5), entryBytes(4, 3, kData + 400 + 70));
    EXPECT_EQ(bytes(kData, 2), (Bytes{0xF8, 0x00}));
    EXPECT_EQ(bytes(kData + 400, 2), (Bytes{0x07, 0xE0}));
    EXPECT_EQ(bytes(kData + 470, 2), (Bytes{0x00, 0x1F}));
    EXPECT_TRUE(workbench_->image.isErased(kData + 494, kData - 494));
    EXPECT_EQ(workbench_->writeCursor, kData + 494);
    EXPECT_EQ(bytes(kIndex + kEntrySize * 3, 4), (Bytes{1, 2, 3, 0xFF})) << "entry 3 changed";
    EXPECT_EQ(entry(4), Bytes(8, 0xFF));
    EXPECT_EQ(entry(6), Bytes(8, 0xFF));
    EXPECT_EQ(entry(0), Bytes(8, 0xFF));
    EXPECT_EQ(sink_.lines.size(), 6u);
    EXPECT_EQ(sink_.lines[4], "调入：5.jpg (宽:4  高:3)");
    EXPECT_EQ(host_.pumps, 3);
    EXPECT_EQ(workbench_->generateMode, 0);
}

TEST_F(PictureBatchTest, TwoRunsGiveTheSameImage) {
    picture(1, photoPixels(33, 17, false, 1));
    picture(3, photoPixels(20, 40, true, 2));
    run();
    const Bytes first(workbench_->image.image().begin(), workbench_->image.image().end());
    run();
    EXPECT_TRUE(std::equal(first.begin(), first.end(), workbench_->image.image().begin()));
}

// An 8000 x 6000 progressive picture without chroma subsampling would need more memory than
// the decoder takes: it is refused by its size like any other, and the batch goes on.
TEST_F(PictureBatchTest, OversizedPictureLeavesNoGap) {
    const std::filesystem::path oversized = folder_ / "pic" / "2.jpg";
    const std::function<void()> oversizedPictures[] = {
        [&] { writePicture(oversized, solidPixels(1500, 2, 0, 0, 0)); },
        [&] { writeClaimedPicture(oversized, 8000, 6000, 0, {.fullChroma = true}); },
    };
    for (const auto& writeOversized : oversizedPictures) {
        sink_.lines.clear();
        picture(1, solidPixels(3, 2, 0, 0, 0));
        writeOversized();
        picture(3, solidPixels(2, 2, 0, 0, 0));
        run();
        EXPECT_EQ(entry(2), Bytes(8, 0xFF));
        EXPECT_EQ(entry(3), entryBytes(2, 2, kData + 12));
        ASSERT_EQ(sink_.lines.size(), 6u);
        EXPECT_EQ(sink_.lines[3], "高度或宽度超过1500，未处理");
        EXPECT_EQ(sink_.lines[5], "处理完成！");
    }
}

TEST_F(PictureBatchTest, PicturesPastTheRegionsEndStartAtTheEndOfTheFlash) {
    // The region holds 524,288 pixels: four pictures of 1024 x 128 fill it exactly, so the
    // last row of the fourth, 1024 x 129, is cut, and the pictures after it store nothing.
    for (int number = 1; number <= 3; ++number) {
        picture(number, solidPixels(1024, 128, 0, 0, 0));
    }
    picture(4, solidPixels(1024, 129, 255, 255, 255));
    picture(5, solidPixels(8, 8, 0, 0, 0));
    picture(6, solidPixels(8, 8, 0, 0, 0));
    run();
    EXPECT_EQ(entry(4), entryBytes(1024, 129, kData + 3 * 262144));
    EXPECT_EQ(entry(5), entryBytes(8, 8, 0x200000));
    EXPECT_EQ(entry(6), entryBytes(8, 8, 0x200000));
    EXPECT_EQ(bytes(0x1FFFFE, 2), (Bytes{0xFF, 0xFF}));
    EXPECT_EQ(workbench_->writeCursor, 0x200000);
    const std::vector<std::string> expectedTail = {"调入：4.jpg (宽:1024  高:129)",
                                                   "处理完成！",
                                                   "图形数据区已满，第4张起的像素未写入",
                                                   "调入：5.jpg (宽:8  高:8)",
                                                   "处理完成！",
                                                   "调入：6.jpg (宽:8  高:8)",
                                                   "处理完成！"};
    EXPECT_EQ(std::vector<std::string>(sink_.lines.end() - 7, sink_.lines.end()), expectedTail);
}

// Not a JPEG file, or one with more scans than the decoder reads.
TEST_F(PictureBatchTest, FirstFailingPictureEndsTheBatch) {
    const std::filesystem::path failing = folder_ / "pic" / "2.jpg";
    const std::function<void()> failingPictures[] = {
        [&] {
            writeBytes(failing, {'n', 'o', 't'});
        },
        [&] { writeClaimedPicture(failing, 64, 64, 1001, {}); },
    };
    for (const auto& writeFailing : failingPictures) {
        sink_.numbers.clear();
        picture(1, solidPixels(2, 2, 0, 0, 0));
        writeFailing();
        picture(3, solidPixels(2, 2, 0, 0, 0));
        EXPECT_THROW(run(), WorkbenchError);
        EXPECT_EQ(workbench_->generateMode, 0);
        EXPECT_EQ(entry(1), entryBytes(2, 2, kData));
        EXPECT_EQ(entry(3), Bytes(8, 0xFF));
        EXPECT_EQ(sink_.numbers, (std::vector<int>{1, 2}));
    }
}

TEST_F(PictureBatchTest, StopsWhenItsCallerCancels) {
    for (int number = 1; number <= 3; ++number) {
        picture(number, solidPixels(2, 2, 0, 0, 0));
    }
    host_.cancelAfter = 1;
    run();
    EXPECT_EQ(sink_.numbers, std::vector<int>{1});
    EXPECT_EQ(workbench_->generateMode, 0);
}

TEST_F(PictureBatchTest, FoldersAndOtherNamesAreNotPictures) {
    std::filesystem::create_directory(folder_ / "pic" / "1.jpg");
    picture(513, solidPixels(2, 2, 0, 0, 0));
    writeFourColours(folder_ / "pic" / "01.jpg");
    run();
    EXPECT_TRUE(sink_.numbers.empty());
}

} // namespace
} // namespace lumivert::testing
