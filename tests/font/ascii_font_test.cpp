#include "font/ascii_font.h"
#include "tests/font/font_generation_fixtures.h"
#include "tests/support/temp_folder.h"

#include <fstream>
#include <gtest/gtest.h>

namespace lumivert::testing {
namespace {

constexpr std::int64_t kAsciiBase = 479232;
constexpr std::int64_t kAsciiRegionEnd = 483328;

// Bytes that are neither 0x00 nor 0xFF, different for each length.
std::vector<std::uint8_t> fileBytes(std::size_t length) {
    std::vector<std::uint8_t> bytes(length);
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<std::uint8_t>(1 + (i * 7 + length) % 253);
    }
    return bytes;
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

class AsciiFontTest : public ::testing::Test {
protected:
    AsciiFontTest() { workbench->reset(); }

    std::unique_ptr<Workbench> workbench = std::make_unique<Workbench>();
    TempFolder folder;
};

// Each copy gives exactly 1,560 bytes: the file's first ones, then zeros where it is
// shorter, whatever an earlier copy of the same run held.
TEST_F(AsciiFontTest, CopiesTheFirst1560BytesOfEachFile) {
    const std::vector<std::size_t> lengths = {1560, 2000, 100, 0, 1559};
    const auto file = folder / "asc";
    for (const std::size_t length : lengths) {
        SCOPED_TRACE(length);
        const auto bytes = fileBytes(length);
        writeFile(file, bytes);
        copyAsciiFont(*workbench, file);
        std::vector<std::uint8_t> expected(kAsciiFontSize, 0);
        std::copy_n(bytes.begin(), std::min(length, kAsciiFontSize), expected.begin());
        EXPECT_EQ(imageBytes(*workbench, kAsciiBase, kAsciiFontSize), expected);
        EXPECT_EQ(workbench->image.load(kAsciiBase - 1), 0xFF);
        EXPECT_TRUE(
            workbench->image.isErased(kAsciiBase + 1560, kAsciiRegionEnd - kAsciiBase - 1560));
    }
    EXPECT_EQ(workbench->generateMode, 0);
    EXPECT_EQ(workbench->writeCursor, 0);
}

TEST_F(AsciiFontTest, AFileThatCannotBeReadCopiesNothing) {
    std::filesystem::create_directory(folder / "folder");
    const struct {
        std::filesystem::path file;
        const char* reason;
    } cases[] = {
        {folder / "missing", "No such file or directory."},
        {folder / "folder", "Is a directory."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(errorOf([&] { copyAsciiFont(*workbench, c.file); }),
                  "Cannot open file \"" + c.file.string() + "\". " + c.reason);
    }
    EXPECT_TRUE(workbench->image.isErased(0, kImageSize));
}

} // namespace
} // namespace lumivert::testing
