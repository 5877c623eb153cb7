// Named pipes where the workbench expects its files: every verb that reads one ends with the
// file's message instead of waiting for a writer that never comes, and the pipe stays.
#include "tests/cli/transfer_folder.h"

#include <sys/stat.h>

namespace lumivert::testing {
namespace {

struct PipeCase {
    const char* path;
    std::vector<std::string> verb;
};

const PipeCase pipeCases[] = {
    {"work/sdata.tmp", {"image", "info"}},
    {"work/asc", {"fonts", "ascii"}},
    {"src/Page3.str", {"pages"}},
    {"src/Font2.str", {"fonts", "extracted"}},
    {"pic/1.jpg", {"picture", "1"}},
    {"pic/2.jpg", {"pictures"}},
    {"commands.txt", {"send", "--port", "lumivert-no-such-port", "commands.txt"}},
};

TEST_F(TransferVerbsTest, APipeInPlaceOfAFileIsRefusedAtOnce) {
    std::filesystem::create_directory(folder / "pic");
    for (const auto& [path, verb] : pipeCases) {
        SCOPED_TRACE(path);
        const auto pipe = folder / path;
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
        std::vector<std::string> args = verb;
        if (args.back() == "commands.txt") {
            args.back() = pipe.string();
        }
        const Outcome run = lumivert(args);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find("Cannot open file \"" + pipe.string() +
                               "\". The file is not a regular file."),
                  std::string::npos)
            << run.err;
        EXPECT_TRUE(std::filesystem::is_fifo(pipe));
        std::filesystem::remove(pipe);
    }
}

// A pipe in place of the journal is a journal that cannot be read: the upload sends
// everything, and says why.
TEST_F(TransferVerbsTest, APipeInPlaceOfTheJournalMeansAFullUpload) {
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    workbench->image.store(0x75000, 0x10);
    storeImage(workbench->image);
    const auto journal = folder / "work" / "upload.journal";
    ASSERT_EQ(::mkfifo(journal.c_str(), 0644), 0);
    VirtualModule module;
    module.start();
    const Outcome run = lumivert({"upload", "ascii", "--changed"}, &module);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("无法读取，全部上传"), std::string::npos) << run.err;
    EXPECT_EQ(module.blocks(), std::vector<std::int32_t>{1872});
}

} // namespace
} // namespace lumivert::testing
