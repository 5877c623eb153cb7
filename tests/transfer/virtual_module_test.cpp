#include "image/workbench.h"
#include "tests/support/temp_folder.h"
#include "tests/transfer/linked_module.h"
#include "tests/transfer/raw_terminal.h"
#include "tests/transfer/upload_check.h"
#include "tools/virtual-module/module_protocol.h"
#include "tools/virtual-module/virtual_module.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

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

// The data of a block that puts `value` into every byte of its 1,024.
std::string dataHolding(std::uint8_t value) {
    std::string block(1024, '\0');
    for (std::size_t m = 0; m < block.size(); ++m) {
        block[m] = static_cast<char>(value ^ (m & 0xFF));
    }
    return block;
}

std::string blockHolding(std::int32_t page, std::uint8_t value) {
    return "BUP(" + std::to_string(page) + ",232)\r" + dataHolding(value);
}

// What each block of FlashPages 12 to 35 holds: '1' the bytes of the first upload, '2' those of
// the second, 'F' erased.
std::string blocksOfPages12To35(const std::vector<std::uint8_t>& flash) {
    const auto held = [](std::uint8_t byte) {
        return byte == 0x11 ? '1' : byte == 0x22 ? '2' : byte == 0xFF ? 'F' : '?';
    };
    std::string blocks;
    for (std::ptrdiff_t start = 0x0C00; start < 0x2400; start += 1024) { // pages 12 to 35
        const auto block = flash.begin() + start;
        const bool even =
            std::all_of(block, block + 1024, [&](auto byte) { return byte == *block; });
        blocks += even ? held(*block) : '?';
    }
    return blocks;
}

// FlashPages 12 to 35 all hold data (the end of Sector 0, all of Sector 1, the start of
// Sector 2); then one more block arrives.
TEST(ModuleProtocolTest, ErasesASectorOnItsFirstBlockOnlyWhenAsked) {
    const struct {
        bool erasesSectors;
        std::int32_t page;
        const char* held;
    } cases[] = {
        {true, 16, "12FFF1"},
        {true, 20, "112111"},
        {true, 28, "111121"},
        {false, 16, "121111"},
    };
    for (const auto& [erasesSectors, page, held] : cases) {
        auto protocol = std::make_unique<ModuleProtocol>(erasesSectors);
        for (std::int32_t filled = 12; filled < 36; filled += 4) {
            feed(*protocol, blockHolding(filled, 0x11));
        }
        feed(*protocol, blockHolding(page, 0x22));
        EXPECT_EQ(blocksOfPages12To35(protocol->flash()), held)
            << "page " << page << (erasesSectors ? ", erasing" : ", overwriting");
    }
}

// The last Sector is erased up to the end of the flash; a Sector past the end erases nothing.
TEST(ModuleProtocolTest, ErasesNothingPastTheEndOfTheFlash) {
    auto protocol = std::make_unique<ModuleProtocol>(true);
    feed(*protocol, blockHolding(8188, 0x11));
    feed(*protocol, blockHolding(8192, 0x22));
    EXPECT_EQ(protocol->flash()[0x1FFFFF], 0x11);
    feed(*protocol, blockHolding(8176, 0x22));
    const auto& flash = protocol->flash();
    EXPECT_EQ(flash[0x1FF000], 0x22);
    EXPECT_EQ(flash[0x1FF3FF], 0x22);
    EXPECT_EQ(flash[0x1FF400], 0xFF);
    EXPECT_EQ(flash[0x1FFFFF], 0xFF);
    EXPECT_EQ(protocol->blocks(), (std::vector<std::int32_t>{8188, 8192, 8176}));
}

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

std::string readAll(int descriptor) {
    std::string text;
    char chunk[512];
    ssize_t got = 0;
    while ((got = ::read(descriptor, chunk, sizeof chunk)) > 0) {
        text.append(chunk, static_cast<std::size_t>(got));
    }
    return text;
}

std::vector<std::uint8_t> readFlashFile(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// The program, run with `arguments`: its terminal's path is the first line it prints.
class ModuleProgram {
public:
    struct Ending {
        int status = -1;
        std::string log;    // standard output after the path
        std::string errors; // standard error
    };

    // How the program is started: the name it is started by (argv[0]), and at most how many
    // files it may hold open.
    struct Start {
        std::string name = LUMIVERT_VIRTUAL_MODULE;
        std::optional<rlim_t> mostOpenFiles;
    };

    explicit ModuleProgram(std::vector<std::string> arguments)
        : ModuleProgram(std::move(arguments), {}) {}

    ModuleProgram(std::vector<std::string> arguments, const Start& start) {
        arguments.insert(arguments.begin(), start.name);
        std::vector<char*> argv;
        argv.reserve(arguments.size() + 1);
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        int output[2];
        int errors[2];
        if (::pipe(output) != 0 || ::pipe(errors) != 0) {
            throw std::runtime_error("no pipe");
        }
        child_ = ::fork();
        if (child_ == 0) {
            ::dup2(output[1], STDOUT_FILENO);
            ::dup2(errors[1], STDERR_FILENO);
            ::close(output[0]);
            ::close(errors[0]);
            if (start.mostOpenFiles) {
                limitOpenFiles(*start.mostOpenFiles);
            }
            ::execv(LUMIVERT_VIRTUAL_MODULE, argv.data());
            ::_exit(127);
        }
        ::close(output[1]);
        ::close(errors[1]);
        output_.reset(output[0]);
        errors_.reset(errors[0]);
        std::string line;
        char byte = 0;
        while (::read(output_.get(), &byte, 1) == 1 && byte != '\n') {
            line += byte;
        }
        path_ = line;
    }

    const std::string& path() const { return path_; }

    // Ends it as the user does, by SIGTERM.
    Ending end() {
        ::kill(child_, SIGTERM);
        Ending ending;
        ending.log = readAll(output_.get());
        ending.errors = readAll(errors_.get());
        int status = 0;
        if (::waitpid(child_, &status, 0) == child_ && WIFEXITED(status)) {
            ending.status = WEXITSTATUS(status);
        }
        return ending;
    }

private:
    // Only standard input, output and error stay open, and no further file can be opened.
    static void limitOpenFiles(rlim_t most) {
        for (int descriptor = STDERR_FILENO + 1; descriptor < 1024; ++descriptor) {
            ::close(descriptor);
        }
        const rlimit limit{most, most};
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }

    pid_t child_ = -1;
    UniqueFd output_;
    UniqueFd errors_;
    std::string path_;
};

// The program itself: it prints its terminal's path, serves an upload, logs the commands,
// writes its flash when asked to end and counts what it received.
TEST(VirtualModuleProgramTest, ServesAnUploadAndWritesItsFlashAtTheEnd) {
    TempFolder folder;
    const auto flashFile = folder / "flash.bin";
    ModuleProgram program({"--flash", flashFile.string(), "--reply", "OK\\r\\n"});
    ASSERT_FALSE(program.path().empty());

    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    workbench->image.store(0x75000, 0x11);
    workbench->image.store(0x75C00, 0x22);
    {
        TComm comm(CommSettings::mainWindow());
        ModuleChannel channel(comm);
        comm.setCommName(program.path());
        comm.setReadIntervalTimeout(5);
        channel.openPort();
        PortEventHost host(comm);
        ModuleLink link{channel, host};
        RecordingDisplay display;
        EXPECT_EQ(UploadPages(link, workbench->image, 1872, 16, display), TransferEnd::Finished);
    }
    const auto ending = program.end();
    EXPECT_EQ(ending.status, 0) << "a protocol error, or the program failed";
    EXPECT_EQ(ending.log, "BUP(1872,232)\nBUP(1872,232) data\nBUP(1884,232)\nBUP(1884,232) data\n"
                          "flash written to " +
                              flashFile.string() + "\n");
    EXPECT_EQ(ending.errors, "virtual-module: 2 commands, 2 blocks, 0 protocol errors\n");

    const auto flash = readFlashFile(flashFile);
    ASSERT_EQ(flash.size(), 0x200000u);
    const auto image = workbench->image.image();
    EXPECT_TRUE(std::equal(flash.begin(), flash.end(), image.begin()));
}

// Paced and erasing Sectors: a command sent before the reply to the one before is counted as
// a protocol error, and the Sector's first block erases a block stored before it.
TEST(VirtualModuleProgramTest, ErasesSectorsAndCountsProtocolErrors) {
    TempFolder folder;
    const auto flashFile = folder / "flash.bin";
    ModuleProgram program({"--baud", "115200", "--erase-sectors", "--flash", flashFile.string()});
    ASSERT_FALSE(program.path().empty());
    {
        RawTerminal terminal(program.path());
        terminal.write("A\rB\r");
        EXPECT_EQ(terminal.read(8, milliseconds(5000)), "OK\r\nOK\r\n");
        for (const auto& [page, value] : {std::pair{20, 0x11}, std::pair{16, 0x22}}) {
            terminal.write("BUP(" + std::to_string(page) + ",232)\r");
            EXPECT_EQ(terminal.read(4, milliseconds(5000)), "OK\r\n");
            terminal.write(dataHolding(static_cast<std::uint8_t>(value)));
            EXPECT_EQ(terminal.read(4, milliseconds(5000)), "OK\r\n");
        }
    }
    const auto ending = program.end();
    EXPECT_EQ(ending.status, 1);
    EXPECT_EQ(ending.errors, "protocol error: bytes arrived before the reply to A was written\n"
                             "virtual-module: 4 commands, 2 blocks, 1 protocol error\n");
    const auto flash = readFlashFile(flashFile);
    ASSERT_EQ(flash.size(), 0x200000u);
    EXPECT_EQ(flash[0x1000], 0x22) << "the block at FlashPage 16";
    EXPECT_EQ(flash[0x1400], 0xFF) << "the block at FlashPage 20, erased";
}

// It goes by the name it was started by, in its messages and its summary alike: installed,
// lumivert-virtual-module.
TEST(VirtualModuleProgramTest, NamesItselfAsItWasStarted) {
    struct Case {
        std::string startedAs;
        std::string name;
    };
    const Case cases[] = {
        {LUMIVERT_VIRTUAL_MODULE, "virtual-module"},
        {"/usr/bin/lumivert-virtual-module", "lumivert-virtual-module"},
        {"lumivert-virtual-module", "lumivert-virtual-module"},
    };
    for (const auto& [startedAs, name] : cases) {
        ModuleProgram served({}, {startedAs, std::nullopt});
        EXPECT_FALSE(served.path().empty()) << startedAs;
        EXPECT_EQ(served.end().errors, name + ": 0 commands, 0 blocks, 0 protocol errors\n");

        for (const char* wrong : {"--reply=\\q", "--baud=49"}) {
            ModuleProgram refused({wrong}, {startedAs, std::nullopt});
            const auto ending = refused.end();
            EXPECT_GE(ending.status, 2) << wrong;
            EXPECT_EQ(ending.errors.rfind(name + ": ", 0), 0u) << ending.errors;
        }
    }
}

// A module that cannot get the descriptors it needs says so and fails, instead of aborting.
// Two descriptors are left: enough for the pipe a sanitizer's runtime opens to probe memory,
// not for the pseudo-terminal's two ends and the event descriptor.
TEST(VirtualModuleProgramTest, SaysWhyItCannotStart) {
    ModuleProgram program({}, {"lumivert-virtual-module", STDERR_FILENO + 3});
    const auto ending = program.end();
    EXPECT_TRUE(program.path().empty());
    EXPECT_EQ(ending.status, 1);
    EXPECT_EQ(ending.errors.rfind("lumivert-virtual-module: cannot ", 0), 0u) << ending.errors;
}

TEST(VirtualModuleProgramTest, RefusesARateOutsideTheRange) {
    for (const char* rate : {"0", "49", "4000001", "fast"}) {
        ModuleProgram program({"--baud", rate});
        EXPECT_TRUE(program.path().empty()) << rate;
        const auto ending = program.end();
        EXPECT_NE(ending.status, 0) << rate;
        EXPECT_NE(ending.errors.find("--baud"), std::string::npos) << ending.errors;
    }
}

} // namespace
} // namespace lumivert::testing
