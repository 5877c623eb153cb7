#include "common/workbench_error.h"
#include "image/image_store.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
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

// What the store file holds after saving an image whose offset 0 is 0x00 and the rest 0xFF,
// over a file whose reserved byte was `reserved` (0x00 when there was none).
Bytes savedImageBytes(std::uint8_t reserved) {
    Bytes bytes(2097153, 0x94);
    bytes[2097151] = 0x6B;
    bytes.back() = reserved;
    return bytes;
}

Bytes readFile(const std::filesystem::path& path, std::size_t most = SIZE_MAX) {
    std::ifstream file(path, std::ios::binary);
    Bytes bytes(std::istreambuf_iterator<char>(file), {});
    bytes.resize(std::min(bytes.size(), most));
    return bytes;
}

// Empty when the two are equal; else where they first differ. (A failure printing two
// files of 2 MB says nothing.)
std::string difference(const Bytes& actual, const Bytes& expected) {
    if (actual.size() != expected.size()) {
        return "size " + std::to_string(actual.size()) + ", expected " +
               std::to_string(expected.size());
    }
    const auto [at, _] = std::mismatch(actual.begin(), actual.end(), expected.begin());
    if (at == actual.end()) {
        return {};
    }
    const auto position = at - actual.begin();
    return "position " + std::to_string(position) + " holds " + std::to_string(*at) +
           ", expected " + std::to_string(expected[static_cast<std::size_t>(position)]);
}

ino_t inodeOf(const std::filesystem::path& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_ino;
}

// Loads the store, changes offset 0 to 0x00 and saves, as a run of the workbench does.
void runOnce(const std::filesystem::path& path) {
    FlashImage image;
    ImageStore store(path);
    store.load(image);
    image.store(0, 0x00);
    store.save(image);
}

// A store reached through symbolic links: the target gets the new image, the link stays.
struct LinkedStore {
    const char* what;
    std::vector<std::pair<const char*, const char*>> links; // link below the folder, its text
    const char* target;                                     // below the folder
    bool targetExists;
};

void PrintTo(const LinkedStore& store, std::ostream* out) {
    *out << store.what;
}

class LinkedStoreTest : public ::testing::TestWithParam<LinkedStore> {};

TEST_P(LinkedStoreTest, TargetGetsTheImageAndTheLinkStays) {
    testing::TempFolder folder;
    std::filesystem::create_directories(folder / "work");
    std::filesystem::create_directories(folder / "keep");
    const LinkedStore& store = GetParam();
    if (store.targetExists) {
        std::ofstream(folder / store.target, std::ios::binary) << std::string(2097153, '\x94');
    }
    for (const auto& [link, text] : store.links) {
        std::filesystem::create_symlink(text, folder / link);
    }

    runOnce(folder / store.links.front().first);

    for (const auto& [link, text] : store.links) {
        EXPECT_TRUE(std::filesystem::is_symlink(folder / link)) << link;
    }
    EXPECT_EQ(difference(readFile(folder / store.target),
                         savedImageBytes(store.targetExists ? 0x94 : 0x00)),
              "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "keep"),
                            std::filesystem::directory_iterator()),
              1)
        << "a temporary file was left beside the target";
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkedStoreTest,
    ::testing::Values(
        LinkedStore{"relative", {{"work/sdata.tmp", "../keep/image"}}, "keep/image", true},
        LinkedStore{"chain",
                    {{"work/sdata.tmp", "other"}, {"work/other", "../keep/image"}},
                    "keep/image",
                    true},
        LinkedStore{"dangling", {{"work/sdata.tmp", "../keep/image"}}, "keep/image", false}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(LinkedStoreTest, AbsoluteLinkIsFollowed) {
    testing::TempFolder folder;
    std::filesystem::create_directories(folder / "work");
    std::ofstream(folder / "image", std::ios::binary) << std::string(2097153, '\x94');
    std::filesystem::create_symlink(folder / "image", folder / "work" / "sdata.tmp");
    runOnce(folder / "work" / "sdata.tmp");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "work" / "sdata.tmp"));
    EXPECT_EQ(difference(readFile(folder / "image"), savedImageBytes(0x94)), "");
}

// A store that a rename would cut from what keeps it is written over in place: the same
// file, with everything past the image as it was.
struct InPlaceStore {
    const char* what;
    std::size_t size;
    bool secondName; // a hard link beside it
    bool inPlace;    // else replaced by a new file (the normal, atomic way)
};

void PrintTo(const InPlaceStore& store, std::ostream* out) {
    *out << store.what;
}

class SaveRouteTest : public ::testing::TestWithParam<InPlaceStore> {};

TEST_P(SaveRouteTest, KeepsTheFileWhereARenameWouldLoseSomething) {
    testing::TempFolder folder;
    const auto path = folder / "sdata.tmp";
    Bytes original(GetParam().size, 0x94);
    for (std::size_t position = 2097153; position < original.size(); ++position) {
        original[position] = static_cast<std::uint8_t>(position * 7);
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(original.data()),
               static_cast<std::streamsize>(original.size()));
    if (GetParam().secondName) {
        std::filesystem::create_hard_link(path, folder / "second");
    }
    const ino_t before = inodeOf(path);

    runOnce(path);

    EXPECT_EQ(inodeOf(path) == before, GetParam().inPlace);
    // The file as it was (a short one as long as a store, what it lacked counting as 0x00),
    // with the one changed byte: offset 0, now 0x00, at position 2,097,151.
    Bytes expected = original;
    expected.resize(std::max<std::size_t>(original.size(), 2097153), 0x00);
    expected[2097151] = 0x00 ^ ImageStore::kMask;
    EXPECT_EQ(difference(readFile(path), expected), "");
    if (GetParam().secondName) {
        EXPECT_EQ(difference(readFile(folder / "second"), expected), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, SaveRouteTest,
                         ::testing::Values(InPlaceStore{"plain", 2097153, false, false},
                                           InPlaceStore{"short", 1000, false, false},
                                           InPlaceStore{"long", 3000000, false, true},
                                           InPlaceStore{"hardLinked", 2097153, true, true}),
                         [](const auto& info) { return std::string(info.param.what); });

// The new file is given the old one's mode and owner.
TEST(StoreIdentityTest, ModeAndOwnerAreKept) {
    struct Case {
        mode_t mode;
        bool otherOwner; // owned by another user: only root can set that up
    };
    for (const Case c :
         {Case{0600, false}, Case{0640, false}, Case{0664, false}, Case{0644, true}}) {
        if (c.otherOwner && ::geteuid() != 0) {
            continue;
        }
        testing::TempFolder folder;
        const auto path = folder / "sdata.tmp";
        std::ofstream(path, std::ios::binary) << std::string(2097153, '\x94');
        ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
        if (c.otherOwner) {
            ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
        }
        struct stat before {};
        ASSERT_EQ(::stat(path.c_str(), &before), 0);

        runOnce(path);

        struct stat after {};
        ASSERT_EQ(::stat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, c.mode) << std::oct << c.mode;
        EXPECT_EQ(after.st_uid, before.st_uid) << std::oct << c.mode;
        EXPECT_EQ(after.st_gid, before.st_gid) << std::oct << c.mode;
        EXPECT_EQ(difference(readFile(path), savedImageBytes(0x94)), "");
    }
}

// A `work` folder where no new file can be made: the save writes the store in place, and
// without a store reports the file it could not create.
TEST(ReadOnlyFolderTest, WritableStoreIsSavedInPlace) {
    testing::TempFolder folder;
    const auto work = folder / "work";
    const auto path = work / "sdata.tmp";
    std::filesystem::create_directories(work);
    std::ofstream(path, std::ios::binary) << std::string(2097153, '\x94');
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(work.c_str(), 0555), 0);
    const ino_t before = inodeOf(path);

    const int saved = testing::inChildProcess([&] {
        if (!testing::becomeUnprivileged()) {
            return 2;
        }
        try {
            runOnce(path);
            return 0;
        } catch (const WorkbenchError& error) {
            std::fprintf(stderr, "%s\n", error.what());
            return 1;
        }
    });
    ::chmod(work.c_str(), 0755);
    ASSERT_EQ(saved, 0);
    EXPECT_EQ(inodeOf(path), before);
    EXPECT_EQ(difference(readFile(path), savedImageBytes(0x94)), "");
}

TEST(ReadOnlyFolderTest, MissingStoreIsReportedAsNotCreated) {
    testing::TempFolder folder;
    const auto work = folder / "work";
    std::filesystem::create_directories(work);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(work.c_str(), 0555), 0);

    const int saved = testing::inChildProcess([&] {
        if (!testing::becomeUnprivileged()) {
            return 2;
        }
        try {
            runOnce(work / "sdata.tmp");
            return 0;
        } catch (const WorkbenchError& error) {
            const std::string expected =
                "Cannot create file \"" + (work / "sdata.tmp").string() + "\". Permission denied.";
            return error.what() == expected ? 1 : 3;
        }
    });
    ::chmod(work.c_str(), 0755);
    EXPECT_EQ(saved, 1) << "1: reported as expected, 0: saved, 3: another message";
    EXPECT_FALSE(std::filesystem::exists(work / "sdata.tmp"));
}

void writeProcFile(const char* path, const std::string& text) {
    std::ofstream(path) << text;
}

// A mount namespace of the process's own; without root, inside a user namespace in which
// the process is root (its ids mapped, so that the files it makes have an owner).
bool enterMountNamespace() {
    if (::geteuid() == 0) {
        return ::unshare(CLONE_NEWNS) == 0;
    }
    const auto uid = std::to_string(::geteuid());
    const auto gid = std::to_string(::getegid());
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
        return false;
    }
    writeProcFile("/proc/self/setgroups", "deny");
    writeProcFile("/proc/self/uid_map", "0 " + uid + " 1");
    writeProcFile("/proc/self/gid_map", "0 " + gid + " 1");
    return true;
}

// A full disk: there is no room for a second copy of the store, but the store's own blocks
// take the new image. The disk is a small tmpfs in a mount namespace of a child process.
TEST(FullDiskTest, StoreIsSavedInPlace) {
    testing::TempFolder folder;
    const auto disk = folder / "disk";
    std::filesystem::create_directories(disk);
    const int status = testing::inChildProcess([&] {
        if (!enterMountNamespace() ||
            ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("lumivert-test", disk.c_str(), "tmpfs", 0, "size=2200k") != 0) {
            return 77; // no namespaces here
        }
        const auto path = disk / "sdata.tmp";
        std::ofstream(path, std::ios::binary) << std::string(2097153, '\x94');
        {
            std::ofstream filler(disk / "filler", std::ios::binary);
            const std::string chunk(4096, 'x');
            while (filler.write(chunk.data(), static_cast<std::streamsize>(chunk.size()))) {
            }
        }
        try {
            runOnce(path);
        } catch (const WorkbenchError& error) {
            std::fprintf(stderr, "%s\n", error.what());
            return 1;
        }
        return readFile(path) == savedImageBytes(0x94) ? 0 : 2;
    });
    if (status == 77) {
        GTEST_SKIP() << "no mount namespace for a small disk";
    }
    EXPECT_EQ(status, 0) << "1: the save failed, 2: the store holds something else";
}

} // namespace
} // namespace lumivert
