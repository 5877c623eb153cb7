// The upload journal: its file, what makes one unusable, and how an upload keeps it true.
#include "tests/support/temp_folder.h"
#include "transfer/journal_keeper.h"
#include "transfer/upload_journal.h"

#include <fstream>
#include <gtest/gtest.h>

namespace lumivert::testing {
namespace {

SectorHash hashOf(std::uint8_t value) {
    const std::vector<std::uint8_t> bytes(4096, value);
    return hashBytes(bytes);
}

UploadJournal twoSectors() {
    UploadJournal journal;
    journal.record(117, hashOf(0x11));
    journal.record(5, hashOf(0x05));
    return journal;
}

TEST(UploadJournalTest, ItsTextGivesItBack) {
    const std::string text = twoSectors().text();
    EXPECT_TRUE(text.starts_with("lumivert upload journal 1\n5 ")) << text;
    std::string problem;
    const auto read = UploadJournal::fromText(text, problem);
    ASSERT_TRUE(read) << problem;
    EXPECT_EQ(read->size(), 2u);
    EXPECT_EQ(read->sector(117), hashOf(0x11));
    EXPECT_EQ(read->sector(5), hashOf(0x05));
    EXPECT_FALSE(read->sector(6));
    EXPECT_EQ(hashText(hashOf(0)), hashText(*hashFromText(hashText(hashOf(0)))));
}

// Each text is a journal spoilt in one way; none is taken.
TEST(UploadJournalTest, AnythingButAnIntactJournalOfThisVersionIsRefused) {
    const std::string good = twoSectors().text();
    std::string flipped = good;
    flipped[flipped.find("\n5 ") + 5] ^= 1;
    const std::string body = "lumivert upload journal 1\n7 " + hashText(hashOf(7)) + "\n";
    const auto sealed = [](const std::string& lines) {
        // A body with a right checksum, so that only the lines themselves are wrong.
        const std::string checksum = hashText(
            hashBytes({reinterpret_cast<const std::uint8_t*>(lines.data()), lines.size()}));
        return lines + "checksum " + checksum + "\n";
    };
    struct Case {
        const char* what;
        std::string text;
        const char* problem;
    };
    const Case cases[] = {
        {"empty", "", "不是上传记录"},
        {"another file", "CLS(0);\r\n", "不是上传记录"},
        {"another version", "lumivert upload journal 2\nchecksum 00\n", "版本不符"},
        {"a flipped bit", flipped, "已损坏"},
        {"cut short", good.substr(0, good.size() - 10), "已损坏"},
        {"no checksum", body, "已损坏"},
        {"a sector past the flash",
         sealed("lumivert upload journal 1\n512 " + hashText(hashOf(1)) + "\n"), "已损坏"},
        {"a sector twice", sealed(body + "7 " + hashText(hashOf(8)) + "\n"), "已损坏"},
        {"a short hash", sealed("lumivert upload journal 1\n7 00ff\n"), "已损坏"},
        {"a word for a number",
         sealed("lumivert upload journal 1\nseven " + hashText(hashOf(1)) + "\n"), "已损坏"},
    };
    for (const auto& [what, text, problem] : cases) {
        std::string found;
        EXPECT_FALSE(UploadJournal::fromText(text, found)) << what;
        EXPECT_EQ(found, problem) << what;
    }
    std::string none;
    EXPECT_TRUE(UploadJournal::fromText(sealed(body), none)) << none;
}

TEST(UploadJournalTest, AnUnusableFileMeansAnEmptyJournalAndANotice) {
    TempFolder folder;
    const auto path = uploadJournalPath(folder / "work");
    const LoadedJournal missing = loadUploadJournal(path);
    EXPECT_EQ(missing.journal.size(), 0u);
    EXPECT_NE(missing.notice.find("没有上传记录"), std::string::npos) << missing.notice;

    saveUploadJournal(path, twoSectors());
    const LoadedJournal saved = loadUploadJournal(path);
    EXPECT_EQ(saved.journal.size(), 2u);
    EXPECT_EQ(saved.notice, "");

    std::ofstream(path, std::ios::app) << "x";
    const LoadedJournal damaged = loadUploadJournal(path);
    EXPECT_EQ(damaged.journal.size(), 0u);
    EXPECT_NE(damaged.notice.find("已损坏"), std::string::npos) << damaged.notice;

    forgetUploadJournal(path);
    EXPECT_FALSE(std::filesystem::exists(path));
    forgetUploadJournal(path);

    std::filesystem::create_directory(path);
    const LoadedJournal unreadable = loadUploadJournal(path);
    EXPECT_EQ(unreadable.journal.size(), 0u);
    EXPECT_NE(unreadable.notice.find("无法读取"), std::string::npos) << unreadable.notice;
}

// The module erases a Sector when its first block arrives: the keeper forgets the Sector
// before that block goes and records it, with 0xFF where no block went, after its last.
class JournalKeeperTest : public ::testing::Test {
protected:
    JournalKeeper keeper{journal, [this] { saved.push_back(journal.text()); }};

    std::array<std::uint8_t, 1024> block(std::uint8_t value) {
        std::array<std::uint8_t, 1024> bytes{};
        bytes.fill(value);
        return bytes;
    }

    UploadJournal journal;
    std::vector<std::string> saved;
};

TEST_F(JournalKeeperTest, ASectorIsForgottenBeforeItsFirstBlockAndRecordedAfterItsLast) {
    journal.record(1, hashOf(0x77));
    keeper.beforeBlock(16);
    EXPECT_FALSE(journal.sector(1)) << "still known while the module may be erasing it";
    ASSERT_EQ(saved.size(), 1u);
    keeper.acknowledged(16, block(0x01), false);
    keeper.beforeBlock(24);
    keeper.acknowledged(24, block(0x03), true);

    std::vector<std::uint8_t> held(4096, 0xFF);
    std::fill(held.begin(), held.begin() + 1024, 0x01);
    std::fill(held.begin() + 2048, held.begin() + 3072, 0x03);
    EXPECT_EQ(journal.sector(1), hashBytes(held));
    EXPECT_EQ(saved.size(), 2u);
}

TEST_F(JournalKeeperTest, AnInterruptedSectorStaysUnknown) {
    keeper.beforeBlock(32);
    keeper.acknowledged(32, block(0x01), false);
    keeper.beforeBlock(36);
    EXPECT_FALSE(journal.sector(2));
    EXPECT_TRUE(saved.empty()) << "nothing known changed";
}

// A Sector entered past its first block is not erased, so its content is unknown.
TEST_F(JournalKeeperTest, ASectorEnteredPastItsFirstBlockIsForgotten) {
    journal.record(3, hashOf(0x33));
    keeper.beforeBlock(52);
    keeper.acknowledged(52, block(0x01), true);
    EXPECT_FALSE(journal.sector(3));
}

TEST_F(JournalKeeperTest, RecordedSectorsCanBeTakenBack) {
    journal.record(9, hashOf(0x99));
    keeper.beforeBlock(16);
    keeper.acknowledged(16, block(0x01), true);
    keeper.forgetRecorded();
    EXPECT_FALSE(journal.sector(1));
    EXPECT_TRUE(journal.sector(9)) << "what an earlier upload recorded stays";
}

} // namespace
} // namespace lumivert::testing
