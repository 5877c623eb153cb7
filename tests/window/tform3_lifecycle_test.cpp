#include "image/region_map.h"
#include "tests/window/window_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/file.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace lumivert::testing {
namespace {

std::vector<char> readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

bool imageHoldsOnly(const Workbench& workbench, std::uint8_t value) {
    const auto image = workbench.image.image();
    return std::all_of(image.begin(), image.end(),
                       [&](std::uint8_t byte) { return byte == value; });
}

using WindowLifecycleTest = WindowTest;

TEST_F(WindowLifecycleTest, StartsWithoutAStoreOnAnErasedImageAndEmptyPageEditor) {
    auto window = openWindow();
    const auto& workbench = window->workbench();
    EXPECT_TRUE(imageHoldsOnly(workbench, 0xFF));
    EXPECT_EQ(workbench.image.load(kImageSize), 0xFF);
    EXPECT_EQ(workbench.generateMode, 0);
    EXPECT_EQ(workbench.regionMap.pages, RegionMap::standard().pages);
    for (const char* name : {"Label3", "Label13"}) {
        EXPECT_EQ(window->findChild<QLabel*>(name)->text(), QString()) << name;
    }
    EXPECT_EQ(window->findChild<QLineEdit*>("Edit1")->text(), QString());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(WindowLifecycleTest, StatusBarShowsTheFolderItWorksIn) {
    auto window = openWindow();
    const auto* folder = window->findChild<QLabel*>("workingFolder");
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->text(), QStringLiteral("工作目录：") +
                                  QString::fromStdString(std::filesystem::current_path().string()));
}

TEST_F(WindowLifecycleTest, LoadsTheStoreOverTheErasedImage) {
    // An empty store lacks every byte; each counts as 0x00, which unscrambles to the mask.
    std::ofstream(storePath(), std::ios::binary).close();
    auto window = openWindow();
    EXPECT_TRUE(imageHoldsOnly(window->workbench(), ImageStore::kMask));
    EXPECT_EQ(window->workbench().image.load(kImageSize), 0xFF);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(WindowLifecycleTest, ClosingWritesTheImageToTheStore) {
    auto window = openWindow();
    window->show();
    window->close();
    window.reset();

    const auto bytes = readFile(storePath());
    ASSERT_EQ(bytes.size(), 2'097'153u);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end() - 1, char(0x94)), 2'097'152);
    EXPECT_EQ(bytes.back(), char(0x00));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// A store that exists but cannot be read: the window opens all the same, with the rest of
// its start-up done, and at the end refuses to save the erased image over the store.
struct UnreadableStore {
    const char* what;
    bool folder;       // a folder in the store's place; else a file another program holds
    bool pipe = false; // a named pipe in the store's place
};

void PrintTo(const UnreadableStore& store, std::ostream* out) {
    *out << store.what;
}

class UnreadableStoreTest : public WindowTest,
                            public ::testing::WithParamInterface<UnreadableStore> {
protected:
    ~UnreadableStoreTest() override {
        if (holder_ >= 0) {
            ::close(holder_);
        }
    }
    int holder_ = -1;
};

TEST_P(UnreadableStoreTest, IsReportedAtStartAndNotOverwrittenAtTheEnd) {
    std::vector<char> before;
    if (GetParam().folder) {
        std::filesystem::create_directory(storePath());
    } else if (GetParam().pipe) {
        ASSERT_EQ(::mkfifo(storePath().c_str(), 0644), 0);
    } else {
        std::ofstream(storePath(), std::ios::binary) << std::string(4096, '\x5A');
        before = readFile(storePath());
        holder_ = ::open(storePath().c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(::flock(holder_, LOCK_EX | LOCK_NB), 0);
    }

    auto window = openWindow();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("work/sdata.tmp")) << messages[0].toStdString();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Lumivert V1.1 B0917"));
    EXPECT_TRUE(imageHoldsOnly(window->workbench(), 0xFF));
    EXPECT_EQ(window->findChild<QLabel*>("Label13")->text(), QString());
    EXPECT_FALSE(window->findChild<QLineEdit*>("zw")->isEnabled());

    // The other program lets go before the end: the store could be written now, but the
    // image the window holds never came from it.
    if (holder_ >= 0) {
        ::close(std::exchange(holder_, -1));
    }
    window.reset();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains("work/sdata.tmp")) << messages[1].toStdString();
    if (GetParam().folder) {
        EXPECT_TRUE(std::filesystem::is_directory(storePath()));
    } else if (GetParam().pipe) {
        EXPECT_TRUE(std::filesystem::is_fifo(storePath()));
    } else {
        EXPECT_EQ(readFile(storePath()), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, UnreadableStoreTest,
                         ::testing::Values(UnreadableStore{"folder", true},
                                           UnreadableStore{"held", false},
                                           UnreadableStore{"pipe", false, true}),
                         [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace lumivert::testing
