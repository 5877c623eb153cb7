#include "common/workbench_error.h"
#include "image/image_store.h"
#include "tests/support/temp_folder.h"

#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace lumivert {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ImageStoreTest : public ::testing::Test {
protected:
    std::filesystem::path storePath() const { return folder_ / "work" / "sdata.tmp"; }

    void writeStore(const Bytes& bytes) const {
        std::filesystem::create_directories(storePath().parent_path());
        std::ofstream(storePath(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    Bytes readStore() const {
        std::ifstream file(storePath(), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(file), {});
    }

    testing::TempFolder folder_;
    FlashImage image_;
};

TEST_F(ImageStoreTest, ErasedImageSavesAsTheMaskThenTheReservedByte) {
    ImageStore store(storePath());
    store.load(image_); // no file: nothing read
    store.save(image_);

    const Bytes file = readStore();
    ASSERT_EQ(file.size(), 2097153u);
    EXPECT_EQ(std::count(file.begin(), file.end() - 1, 0x94), 2097152);
    EXPECT_EQ(file.back(), 0x00);
}

TEST_F(ImageStoreTest, ImageIsStoredReversedAndMasked) {
    image_.store(0, 0x00);
    image_.store(1, 0x11);
    image_.store(0x1FFFFF, 0x6B);
    ImageStore(storePath()).save(image_);

    const Bytes file = readStore();
    EXPECT_EQ(file[2097151], 0x6B); // offset 0, value 0x00
    EXPECT_EQ(file[2097150], 0x11 ^ 0x6B);
    EXPECT_EQ(file[0], 0x00); // offset 0x1FFFFF
}

TEST_F(ImageStoreTest, SaveThenLoadGivesTheImageBack) {
    for (std::int32_t offset = 0; offset < kImageSize; offset += 997) {
        image_.store(offset, static_cast<std::uint8_t>(offset * 31));
    }
    ImageStore(storePath()).save(image_);

    FlashImage loaded;
    loaded.store(5, 0x00); // the load replaces every image byte
    ImageStore(storePath()).load(loaded);
    EXPECT_TRUE(std::equal(loaded.image().begin(), loaded.image().end(), image_.image().begin()));
    EXPECT_EQ(loaded.load(kImageSize), 0xFF);
}

TEST_F(ImageStoreTest, EmptyFileLoadsAsTheMaskEverywhere) {
    writeStore({});
    ImageStore(storePath()).load(image_);
    EXPECT_EQ(std::count(image_.image().begin(), image_.image().end(), 0x6B), kImageSize);
    EXPECT_EQ(image_.load(kImageSize), 0xFF);
}

TEST_F(ImageStoreTest, ShortFileLacksItsLowestOffsets) {
    writeStore(Bytes(2097150, 0x94)); // lacks positions 2097150 to 2097152
    ImageStore(storePath()).load(image_);
    EXPECT_EQ(image_.load(0), 0x6B);
    EXPECT_EQ(image_.load(1), 0x6B);
    EXPECT_EQ(image_.load(2), 0xFF);
}

TEST_F(ImageStoreTest, LongerFileKeepsItsLengthAndTail) {
    Bytes original(3000000, 0x94);
    for (std::size_t position = 2097153; position < original.size(); ++position) {
        original[position] = static_cast<std::uint8_t>(position);
    }
    writeStore(original);
    ImageStore store(storePath());
    store.load(image_);
    image_.store(0, 0x00);
    store.save(image_);

    const Bytes saved = readStore();
    ASSERT_EQ(saved.size(), original.size());
    EXPECT_EQ(saved[2097151], 0x6B);
    EXPECT_TRUE(std::equal(saved.begin() + 2097153, saved.end(), original.begin() + 2097153));
}

TEST_F(ImageStoreTest, ReservedByteGoesBackAsRead) {
    Bytes original(2097153, 0x94);
    original.back() = 0x3C;
    writeStore(original);
    ImageStore store(storePath());
    store.load(image_);
    store.save(image_);
    EXPECT_EQ(readStore().back(), 0x3C);
}

TEST_F(ImageStoreTest, MissingFolderIsCreatedAtSave) {
    ImageStore(storePath()).save(image_);
    EXPECT_EQ(std::filesystem::file_size(storePath()), 2097153u);
}

TEST_F(ImageStoreTest, StoreInUseIsNeitherLoadedNorOverwritten) {
    Bytes original(2097153, 0x00);
    writeStore(original);
    const int holder = ::open(storePath().c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    ImageStore store(storePath());
    try {
        store.load(image_);
        FAIL() << "a store held by another program was loaded";
    } catch (const WorkbenchError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file \"" + storePath().string() +
                                                 "\". The file is in use by another program.");
    }
    EXPECT_TRUE(image_.isErased(0, kImageSize));
    ::close(holder);

    EXPECT_THROW(store.save(image_), WorkbenchError);
    EXPECT_EQ(readStore(), original);
}

TEST_F(ImageStoreTest, UnreadableStoreIsNotOverwritten) {
    std::filesystem::create_directories(storePath()); // a folder in the file's place
    ImageStore store(storePath());
    EXPECT_THROW(store.load(image_), WorkbenchError);
    try {
        store.save(image_);
        FAIL() << "saved over a store that could not be read";
    } catch (const WorkbenchError& error) {
        EXPECT_NE(std::string(error.what()).find("could not be read at start-up"),
                  std::string::npos);
    }
    EXPECT_TRUE(std::filesystem::is_directory(storePath()));
}

TEST_F(ImageStoreTest, FailedSaveLeavesTheOldStoreWhole) {
    // A store name so long that no temporary name beside it is allowed: the save fails
    // before it touches the store, even for root.
    const auto path = folder_ / std::string(250, 's');
    const Bytes original(2097153, 0x12);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(original.data()),
               static_cast<std::streamsize>(original.size()));
    ImageStore store(path);
    store.load(image_);
    image_.store(0, 0x00);

    EXPECT_THROW(store.save(image_), WorkbenchError);
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(file), {}), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()),
                            std::filesystem::directory_iterator()),
              1)
        << "a temporary file was left behind";
}

} // namespace
} // namespace lumivert
