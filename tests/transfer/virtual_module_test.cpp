#include "image/workbench.h"
#include "tests/support/temp_folder.h"
#include "tests/transfer/linked_module.h"
#include "tests/transfer/upload_check.h"
#include "tools/virtual-module/module_protocol.h"
#include "tools/virtual-module/reply_text.h"
#include "tools/virtual-module/virtual_module.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace lumivert::testing {
namespace {

using std::chrono::milliseconds;

TEST(ModuleProtocolTest, KnowsTheBlockUploadCommand) {
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"BUP(80,232)", 80},
        {"BUP(0,232)", 0},
        {"BUP(8191,232)", 8191},
        {"BUP(,232)", std::nullopt},
        {"BUP(80,231)", std::nullopt},
        {"BUP(-1,232)", std::nullopt},
        {"bup(80,232)", std::nullopt},
        {"BUP(80,232) ", std::nullopt},
        {"BUP(1234567890,232)", std::nullopt},
    };
    for (const auto& [command, page] : cases) {
        EXPECT_EQ(ModuleProtocol::blockUploadPage(command), page) << command;
    }
}

std::vector<ModuleProtocol::Request> feed(ModuleProtocol& protocol, const std::string& bytes) {
    std::vector<ModuleProtocol::Request> requests;
    for (const char byte : bytes) {
        if (auto request = protocol.take(static_cast<std::uint8_t>(byte))) {
            requests.push_back(*request);
        }
    }
    return requests;
}

// The data of a block may hold carriage returns; they are data. Bytes past the end of the
// flash are dropped.
TEST(ModuleProtocolTest, UnscramblesBlocksIntoItsFlash) {
    auto protocol = std::make_unique<ModuleProtocol>();
    std::string block(1024, '\0');
    for (std::size_t m = 0; m < block.size(); ++m) {
        block[m] = static_cast<char>((m & 0xFF) ^ (m % 7 == 0 ? 0x0D : 0x30));
    }
    const auto requests = feed(*protocol, "CLS(0);\rBUP(8190,232)\r" + block + "X\r");
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[2].answering, "BUP(8190,232) data");
    EXPECT_EQ(protocol->commands(), (std::vector<std::string>{"CLS(0);", "BUP(8190,232)", "X"}));
    EXPECT_EQ(protocol->blocks(), std::vector<std::int32_t>{8190});
    const auto& flash = protocol->flash();
    EXPECT_EQ(flash.size(), 0x200000u);
    EXPECT_EQ(flash[0x1FFE00], 0x0D);
    EXPECT_EQ(flash[0x1FFE01], 0x30);
    EXPECT_EQ(flash[0x1FFFFE], 0x30);
    EXPECT_EQ(flash[0x1FFDFF], 0xFF);
}

TEST(ReplyTextTest, TakesEscapes) {
    EXPECT_EQ(unescapeReplyText("OK\\r\\n"), "OK\r\n");
    EXPECT_EQ(unescapeReplyText("\\x06\\t\\\\"), "\x06\t\\");
    EXPECT_THROW(unescapeReplyText("\\q"), std::invalid_argument);
    EXPECT_THROW(unescapeReplyText("\\x4"), std::invalid_argument);
    EXPECT_THROW(unescapeReplyText("A\\"), std::invalid_argument);
}

// The workbench's side of the line, opened by the test itself.
class RawTerminal {
public:
    explicit RawTerminal(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios settings{};
        ::tcgetattr(fd_.get(), &settings);
        ::cfmakeraw(&settings);
        ::tcsetattr(fd_.get(), TCSANOW, &settings);
    }

    void write(const std::string& bytes) const {
        ASSERT_EQ(::write(fd_.get(), bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }

    std::string read(std::size_t count, milliseconds timeout) const {
        std::string bytes;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd entry{fd_.get(), POLLIN, 0};
            if (::poll(&entry, 1, 10) > 0) {
                char chunk[256];
                const ssize_t got = ::read(fd_.get(), chunk, sizeof chunk);
                bytes.append(chunk, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
            }
        }
        return bytes;
    }

private:
    UniqueFd fd_;
};

TEST(VirtualModuleTest, ReportsBytesThatComeBeforeItsReply) {
    VirtualModuleOptions slow;
    slow.delay = milliseconds(100);
    slow.reply = "ACK";
    VirtualModule module(slow);
    module.start();
    RawTerminal terminal(module.path());

    terminal.write("A\r");
    EXPECT_EQ(terminal.read(3, milliseconds(2000)), "ACK");
    EXPECT_TRUE(module.protocolErrors().empty());

    terminal.write("BUP(0,232)\r" + std::string(1024, 'x'));
    EXPECT_EQ(terminal.read(6, milliseconds(2000)), "ACKACK");
    terminal.write("B\rC\r");
    EXPECT_EQ(terminal.read(6, milliseconds(2000)), "ACKACK");
    const auto errors = module.protocolErrors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0], "bytes arrived before the reply to BUP(0,232) was written");
    EXPECT_EQ(errors[1], "bytes arrived before the reply to B was written");
}

TEST(VirtualModuleTest, SplitsItsReplyWhenAsked) {
    VirtualModuleOptions split;
    split.splitPause = milliseconds(200);
    VirtualModule module(split);
    module.start();
    RawTerminal terminal(module.path());
    terminal.write("A\r");
    EXPECT_EQ(terminal.read(4, milliseconds(150)), "OK");
    EXPECT_EQ(terminal.read(2, milliseconds(1000)), "\r\n");
}

// The module keeps the line, so a port closed and opened again finds it as it was.
TEST(VirtualModuleTest, ThePortCanBeClosedAndOpenedAgain) {
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    workbench->image.store(0x5000, 0x42);
    LinkedModule line;
    RecordingDisplay display;
    line.comm.ClosePort();
    line.comm.OpenPort();
    EXPECT_EQ(UploadPages(line.link, workbench->image, 80, 16, display), TransferEnd::Finished);
    expectModuleReceived(line.module, workbench->image, {80});
}

// The program itself: it prints its terminal's path, serves an upload, logs the commands
// and writes its flash when asked to end.
TEST(VirtualModuleProgramTest, ServesAnUploadAndWritesItsFlashAtTheEnd) {
    TempFolder folder;
    const auto flashFile = folder / "flash.bin";
    int output[2];
    ASSERT_EQ(::pipe(output), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        ::close(output[0]);
        ::execl(LUMIVERT_VIRTUAL_MODULE, LUMIVERT_VIRTUAL_MODULE, "--flash", flashFile.c_str(),
                "--reply", "OK\\r\\n", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(output[1]);
    FILE* log = ::fdopen(output[0], "r");
    char line[512];
    ASSERT_NE(std::fgets(line, sizeof line, log), nullptr);
    std::string path(line);
    path.pop_back();

    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    workbench->image.store(0x75000, 0x11);
    workbench->image.store(0x75C00, 0x22);
    {
        TComm comm(CommSettings::mainWindow());
        ModuleChannel channel(comm);
        comm.setCommName(path);
        comm.setReadIntervalTimeout(5);
        channel.openPort();
        PortEventHost host(comm);
        ModuleLink link{channel, host};
        RecordingDisplay display;
        EXPECT_EQ(UploadPages(link, workbench->image, 1872, 16, display), TransferEnd::Finished);
    }
    ::kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a protocol error, or the program failed";

    std::string logged;
    while (std::fgets(line, sizeof line, log) != nullptr) {
        logged += line;
    }
    std::fclose(log);
    EXPECT_EQ(logged, "BUP(1872,232)\nBUP(1872,232) data\nBUP(1884,232)\nBUP(1884,232) data\n"
                      "flash written to " +
                          flashFile.string() + "\n");

    std::ifstream file(flashFile, std::ios::binary);
    const std::vector<std::uint8_t> flash((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    ASSERT_EQ(flash.size(), 0x200000u);
    const auto image = workbench->image.image();
    EXPECT_TRUE(std::equal(flash.begin(), flash.end(), image.begin()));
}

} // namespace
} // namespace lumivert::testing
