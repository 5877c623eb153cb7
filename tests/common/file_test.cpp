#include "common/folders.h"
#include "common/text_file.h"
#include "common/workbench_error.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace lumivert {
namespace {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder : public testing::Test {
protected:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "lumivert-common-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary folder");
        }
        folder_ = pattern;
    }
    ~TempFolder() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    const fs::path& folder() const { return folder_; }

    void writeRaw(const fs::path& path, const std::string& bytes) const {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::string readRaw(const fs::path& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    template <typename F> std::string errorOf(F&& operation) const {
        try {
            operation();
        } catch (const WorkbenchError& error) {
            return error.what();
        }
        return "no error";
    }

private:
    fs::path folder_;
};

using TextFile = TempFolder;
using Folders = TempFolder;

TEST_F(TextFile, WritesEachLineWithCrLfAndNoByteOrderMark) {
    const auto path = folder() / "Page1.str";
    writeCrlfTextFile(path, {"", "DS12(0,0,'\xB4\xAE\xBF\xDA',15);|R|A", "a\rb"});
    EXPECT_EQ(readRaw(path), "\r\nDS12(0,0,'\xB4\xAE\xBF\xDA',15);|R|A\r\na\rb\r\n");
}

TEST_F(TextFile, ReplacesLongerFileAndWritesNoLinesAsEmptyFile) {
    const auto path = folder() / "Font1.str";
    writeRaw(path, std::string(5000, 'x'));
    writeCrlfTextFile(path, {"ab"});
    EXPECT_EQ(readRaw(path), "ab\r\n");
    writeCrlfTextFile(path, {});
    EXPECT_EQ(readRaw(path), "");
}

TEST_F(TextFile, ReadsEveryByteOfALargeFile) {
    std::string bytes;
    for (int i = 0; i < 300000; ++i) {
        bytes += static_cast<char>(i * 7 % 256);
    }
    const auto path = folder() / "sdata.tmp";
    writeRaw(path, bytes);
    EXPECT_EQ(readWholeFile(path), bytes);
    writeRaw(path, "");
    EXPECT_EQ(readWholeFile(path), "");
}

TEST_F(TextFile, WriteFailuresNameTheFileAndTheReason) {
    const auto inMissingFolder = folder() / "missing" / "Page1.str";
    EXPECT_EQ(errorOf([&] { writeCrlfTextFile(inMissingFolder, {"a"}); }),
              "Cannot create file \"" + inMissingFolder.string() +
                  "\". No such file or directory.");
    EXPECT_EQ(errorOf([&] { writeCrlfTextFile(folder(), {"a"}); }),
              "Cannot create file \"" + folder().string() + "\". Is a directory.");

    const fs::path relative = "lumivert-missing-" + folder().filename().string() + "/Page1.str";
    EXPECT_EQ(errorOf([&] { writeCrlfTextFile(relative, {"a"}); }),
              "Cannot create file \"" + (fs::current_path() / relative).string() +
                  "\". No such file or directory.");
}

TEST_F(TextFile, FullDiskIsAnErrorNotAHalfFile) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "/dev/full is not available";
    }
    EXPECT_EQ(errorOf([] { writeCrlfTextFile("/dev/full", {"a"}); }),
              "Cannot write file \"/dev/full\". No space left on device.");
}

TEST_F(TextFile, ReadFailuresNameTheFileAndTheReason) {
    const auto missing = folder() / "asc";
    EXPECT_EQ(errorOf([&] { readWholeFile(missing); }),
              "Cannot open file \"" + missing.string() + "\". No such file or directory.");
    EXPECT_EQ(errorOf([&] { readWholeFile(folder()); }),
              "Cannot open file \"" + folder().string() + "\". Is a directory.");
}

// A named pipe would hold a blocking open until a writer came; it is refused at once, a
// link to it too, while a link to a file reads the file.
TEST_F(TextFile, OnlyRegularFilesAreRead) {
    const auto pipe = folder() / "Page1.str";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const auto pipeLink = folder() / "Page2.str";
    fs::create_symlink(pipe, pipeLink);
    for (const auto& path : {pipe, pipeLink}) {
        EXPECT_EQ(errorOf([&] { readWholeFile(path); }),
                  "Cannot open file \"" + path.string() + "\". The file is not a regular file.");
    }
    EXPECT_EQ(errorOf([] { readWholeFile("/dev/null"); }),
              "Cannot open file \"/dev/null\". The file is not a regular file.");
    writeRaw(folder() / "Page3.str", "kept");
    fs::create_symlink(folder() / "Page3.str", folder() / "Page4.str");
    EXPECT_EQ(readWholeFile(folder() / "Page4.str"), "kept");
}

TEST_F(Folders, CreatesMissingFolderAndParentsAndLeavesExistingOnesAlone) {
    const auto nested = folder() / "work" / "deeper" / "src";
    createFolderIfMissing(nested);
    EXPECT_TRUE(fs::is_directory(nested));

    writeRaw(nested / "Page1.str", "kept");
    createFolderIfMissing(nested);
    createFolderIfMissing(folder() / "work" / "deeper" / "src" / "");
    EXPECT_EQ(readRaw(nested / "Page1.str"), "kept");
}

TEST_F(Folders, FileInTheWayIsReportedAndLeftUntouched) {
    const auto file = folder() / "work";
    writeRaw(file, "data");
    struct Case {
        fs::path folder;
        std::string message;
    };
    const std::string refused = "Cannot create file \"" + file.string() + "\". ";
    const Case cases[] = {
        {file, refused + "A file of that name is in the way."},
        {folder() / "work" / "", refused + "A file of that name is in the way."},
        {file / "sub", "Cannot create file \"" + (file / "sub").string() + "\". The file \"" +
                           file.string() + "\" is in the way."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.string());
        EXPECT_EQ(errorOf([&] { createFolderIfMissing(c.folder); }), c.message);
    }
    EXPECT_EQ(readRaw(file), "data");
}

} // namespace
} // namespace lumivert
