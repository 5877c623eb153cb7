#include "common/unique_fd.h"
#include "tests/cli/transfer_folder.h"
#include "tests/support/pty_pair.h"
#include "tests/transfer/upload_check.h"

#include <atomic>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace lumivert::testing {
namespace {

TEST_F(TransferVerbsTest, PagesBuildsThePagesRegionFromThePageFiles) {
    writeFile("src/Page2.str", "2\r\n\r\nAB|R|ACD\r\n");
    writeFile("src/Page3.str", "3\r\n\r\n" + std::string(1030, 'z') + "\r\n");
    const Outcome run = lumivert({"pages"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("页面 3 "), std::string::npos) << run.err;
    const auto workbench = storedWorkbench();
    EXPECT_EQ(workbench->image.load(0xE0000), 0xFF);
    EXPECT_EQ(workbench->image.load(0xE0400 + 3), 'D');
    EXPECT_EQ(workbench->image.load(0xE0400 + 4), 0x00);
    EXPECT_EQ(workbench->image.load(0xE0800 + 1023), 0x00);
}

// The regions in the order given, the page list built first and kept in the store.
TEST_F(TransferVerbsTest, UploadSendsTheRegionsGiven) {
    auto image = std::make_unique<Workbench>();
    image->reset();
    image->image.store(0x75000, 0x10);
    image->image.store(0x75C01, 0x20);
    image->image.store(0x5000, 0x30);
    ImageStore(folder / "work" / "sdata.tmp").save(image->image);
    writeFile("src/Page5.str", "5\r\n\r\nX\r\n");
    VirtualModule module;
    module.start();

    const Outcome run = lumivert({"upload", "ascii", "pages"}, &module);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "ascii: 2 blocks sent\npages: 1 block sent\n");
    EXPECT_TRUE(run.err.starts_with("upload: 3 blocks, 3114 bytes, ")) << run.err;
    EXPECT_TRUE(run.err.ends_with(" bytes/s, 0 sectors skipped\n")) << run.err;
    const auto stored = storedWorkbench();
    EXPECT_EQ(stored->image.load(0xE1000), 'X');
    expectModuleReceived(module, stored->image, {1872, 1884, 3600});
}

// On a terminal, where standard output and standard error share the screen, the progress
// line makes way for each region's line.
TEST_F(TransferVerbsTest, OnATerminalEachRegionHasALineOfItsOwn) {
    auto image = std::make_unique<Workbench>();
    image->reset();
    image->image.store(0x75000, 0x10);
    image->image.store(0x5000, 0x30);
    storeImage(image->image);
    VirtualModule module;
    module.start();

    const PtyPair terminal;
    const UniqueFd standardError(::dup(STDERR_FILENO));
    ::dup2(terminal.terminal(), STDERR_FILENO);
    std::ostringstream screen;
    const auto before = std::filesystem::current_path();
    const int status = runCommandLine({"-C", folder.path().string(), "upload", "gb12", "ascii",
                                       "--port", module.path(), "--read-interval", "5"},
                                      screen, screen);
    std::filesystem::current_path(before);
    ::dup2(standardError.get(), STDERR_FILENO);

    ASSERT_EQ(status, 0) << screen.str();
    for (const char* line : {"gb12: 1 block sent\n", "ascii: 1 block sent\n"}) {
        EXPECT_NE(screen.str().find(std::string("\r\033[K") + line), std::string::npos)
            << screen.str();
    }
}

TEST_F(TransferVerbsTest, UploadFailsWhenTheModuleStopsAnswering) {
    auto image = std::make_unique<Workbench>();
    image->reset();
    image->image.store(0x75000, 0x10);
    ImageStore(folder / "work" / "sdata.tmp").save(image->image);
    VirtualModuleOptions silent;
    silent.silent = true;
    VirtualModule module(silent);
    module.start();
    const Outcome run = lumivert({"upload", "gb12", "ascii"}, &module);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "gb12: 0 blocks sent\n");
    EXPECT_EQ(run.err, "lumivert: 模块无应答：BUP(1872,232)\n");
}

TEST_F(TransferVerbsTest, SendPrintsTheAnswersOfEachCommand) {
    writeFile("commands.txt", "AB\n  CD  \nDS12(0,0,'串口',15);\n");
    VirtualModuleOptions options;
    options.reply = "\xB4\xAE\r\n"; // 串
    VirtualModule module(options);
    module.start();
    const std::string file = (folder / "commands.txt").string();

    const Outcome lines = lumivert({"send", file}, &module);
    ASSERT_EQ(lines.status, 0) << lines.err;
    EXPECT_EQ(lines.out, "串\r\n串\r\n串\r\n");
    const Outcome whole = lumivert({"send", "--whole", file}, &module);
    ASSERT_EQ(whole.status, 0) << whole.err;
    EXPECT_EQ(whole.out, "串\r\n");
    EXPECT_EQ(module.commands(),
              (std::vector<std::string>{"AB", "  CD  ", "DS12(0,0,'\xB4\xAE\xBF\xDA',15);",
                                        "ABCDDS12(0,0,'\xB4\xAE\xBF\xDA',15);"}));
    EXPECT_TRUE(module.protocolErrors().empty());
}

TEST_F(TransferVerbsTest, BadOptionsAreUsageErrors) {
    writeFile("empty.txt", "");
    const std::string empty = (folder / "empty.txt").string();
    const std::vector<std::vector<std::string>> usages = {
        {"upload", "ascii"},
        {"upload", "--port", "/dev/null"},
        {"upload", "fonts", "--port", "/dev/null"},
        {"upload", "ascii", "--port", "/dev/null", "--read-interval", "0"},
        {"upload", "ascii", "--port", "/dev/null", "--read-interval", "1001"},
        {"send", "--port", "/dev/null", "--read-interval", "x"},
        {"send", "--port", "/dev/null", "--baud", "0"},
    };
    for (const auto& args : usages) {
        EXPECT_EQ(lumivert(args).status, 2) << args[1];
    }
    for (const char* rate : {"0", "49", "4000001", "fast", "9600.5", "-5"}) {
        const Outcome run = lumivert({"send", "--port", "/dev/null", "--baud", rate, empty});
        EXPECT_EQ(run.status, 2) << rate;
        EXPECT_NE(run.err.find("--baud"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("from 50 to 4000000 baud"), std::string::npos) << run.err;
    }
    for (const char* rate : {"50", "256000", "4000000"}) {
        const Outcome run =
            lumivert({"send", "--port", "lumivert-no-such-port", "--baud", rate, empty});
        EXPECT_EQ(run.status, 1) << rate << ": " << run.err;
        EXPECT_NE(run.err.find("此串口不存在或被占用"), std::string::npos) << run.err;
    }
    const Outcome missing = lumivert({"send", "--port", "lumivert-no-such-port", empty});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "lumivert: 打开串口出错\r\n此串口不存在或被占用\n");
}

// Answers in two pieces 30 ms apart, the read interval 5 ms: framed by their end, every
// command and block waits for its whole answer.
TEST_F(TransferVerbsTest, FramedAnswersKeepTheUploadAndTheSendInStepWithTheModule) {
    auto image = std::make_unique<Workbench>();
    image->reset();
    for (std::int64_t offset = 0x5000; offset < 0x9000; offset += 1024) {
        image->image.store(offset, 0x5A);
    }
    storeImage(image->image);
    writeFile("commands.txt", "AB\nCD\nEF\n");
    VirtualModuleOptions split;
    split.splitPause = std::chrono::milliseconds(30);
    VirtualModule framed(split);
    framed.start();
    const Outcome upload = lumivert({"upload", "gb12", "--reply-end", "\\r\\n"}, &framed);
    ASSERT_EQ(upload.status, 0) << upload.err;
    EXPECT_EQ(upload.err.find("warning"), std::string::npos) << upload.err;
    const Outcome send =
        lumivert({"send", "--reply-end", "\\r\\n", (folder / "commands.txt").string()}, &framed);
    ASSERT_EQ(send.status, 0) << send.err;
    EXPECT_EQ(send.out, "OK\r\nOK\r\nOK\r\n");
    EXPECT_EQ(framed.blocks().size(), 16u);
    EXPECT_TRUE(framed.protocolErrors().empty()) << framed.protocolErrors().front();
}

// Unframed, answers longer than a read come in two deliveries, and the second ends the next
// wait: the upload runs ahead of the module, and says so.
TEST_F(TransferVerbsTest, AnUploadThatRanAheadOfTheModuleSaysSo) {
    auto image = std::make_unique<Workbench>();
    image->reset();
    image->image.store(0x75000, 0x5A);
    storeImage(image->image);
    VirtualModuleOptions longAnswers;
    longAnswers.reply = std::string(4500, 'K') + "\r\n";
    VirtualModule module(longAnswers);
    module.start();
    const Outcome ahead = lumivert({"upload", "ascii"}, &module);
    EXPECT_NE(ahead.err.find("warning: the module's answers came in more pieces"),
              std::string::npos)
        << ahead.err;
    EXPECT_NE(ahead.err.find("--reply-end"), std::string::npos);
    EXPECT_EQ(module.blocks(), std::vector<std::int32_t>{1872});
}

// Nothing of a command file goes unsent without a word: a zero byte cannot be sent in a
// command, so the file is refused whole.
TEST_F(TransferVerbsTest, SendRefusesCommandsWithAZeroByte) {
    writeFile("commands.txt", std::string("AB\nC\0D\nEF\n", 10));
    VirtualModule module;
    module.start();
    const Outcome run = lumivert({"send", (folder / "commands.txt").string()}, &module);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("commands.txt, line 2: a zero byte"), std::string::npos) << run.err;
    EXPECT_TRUE(module.commands().empty());
}

// A module that sends a byte whatever it is told, the next one as soon as the port has read
// the last: a heartbeat that never pauses for a read interval.
class Heartbeat {
public:
    explicit Heartbeat(const PtyPair& line)
        : thread_([this, &line] {
              while (!stopped_) {
                  if (line.unreadBytes() == 0) {
                      line.send(std::string("."));
                  } else {
                      std::this_thread::yield();
                  }
              }
          }) {}
    ~Heartbeat() { stop(); }
    Heartbeat(const Heartbeat&) = delete;
    Heartbeat& operator=(const Heartbeat&) = delete;

    void stop() {
        stopped_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }

private:
    std::atomic<bool> stopped_{false};
    std::thread thread_;
};

// The late answers after the last command are taken in for a bounded time, once: a heartbeat
// that never pauses for two read intervals does not keep the send alive.
TEST_F(TransferVerbsTest, SendEndsAfterItsLastAnswerThoughBytesKeepComing) {
    writeFile("commands.txt", "AB\n");
    PtyPair line;
    Heartbeat heartbeat(line);
    auto run = std::async(std::launch::async, [&] {
        return lumivert({"send", "--port", line.path(), (folder / "commands.txt").string()});
    });
    const bool ended = run.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    heartbeat.stop();
    EXPECT_TRUE(ended) << "the send went on for as long as the heartbeat";
    const Outcome outcome = run.get();
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out.find_first_not_of('.'), std::string::npos) << outcome.out;
}

} // namespace
} // namespace lumivert::testing
