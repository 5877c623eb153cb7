// The program itself: which arguments open the window and which run the command line.
#include "tests/support/temp_folder.h"

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace lumivert::testing {
namespace {

struct Finished {
    int status;
    std::string output; // standard output and standard error together
};

Finished runProgram(const std::string& arguments) {
    const std::string command =
        "QT_QPA_PLATFORM=offscreen '" LUMIVERT_PROGRAM "' " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    std::array<char, 256> chunk{};
    while (std::fgets(chunk.data(), chunk.size(), pipe) != nullptr) {
        output += chunk.data();
    }
    const int wait = ::pclose(pipe);
    return {WIFEXITED(wait) ? WEXITSTATUS(wait) : -1, output};
}

TEST(ProgramStart, ArgumentsChooseTheCommandLineOrTheWindow) {
    TempFolder folder;
    struct Case {
        std::string arguments;
        int status;
        std::string output; // part of it
    };
    const Case cases[] = {
        {"colour 00FF00", 0, "2016 (0x07E0)"},
        {"-C '" + folder.path().string() + "' colour 0000FF", 0, "31 (0x001F)"},
        {"'-C" + folder.path().string() + "' colour 0000FF", 0, "31 (0x001F)"},
        {"-h", 0, "picture TEXT"},
        {"--help", 0, "colour RRGGBB"},
        {"picturs", 2, "unknown verb \"picturs\""},
        // Options of the window's toolkit go to the window; what the toolkit leaves is named.
        {"-platform offscreen -bogus", 2, "unknown argument \"-bogus\""},
        {"-platform offscreen -style fusion -session abc extra", 2, "unknown argument \"extra\""},
    };
    for (const auto& c : cases) {
        const Finished run = runProgram(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.output), std::string::npos) << c.arguments << "\n"
                                                                << run.output;
    }
}

// Whether the process `child` catches SIGTERM, as the window does from its start on.
bool catchesTermination(pid_t child) {
    std::ifstream status("/proc/" + std::to_string(child) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("SigCgt:")) {
            const unsigned long long caught = std::stoull(line.substr(7), nullptr, 16);
            return (caught & (1ULL << (SIGTERM - 1))) != 0;
        }
    }
    return false;
}

// With only the toolkit's options the window opens, and runs until it is asked to end: then
// it ends as the window does, saving the store.
TEST(ProgramStart, ToolkitOptionsOpenTheWindow) {
    TempFolder folder;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::chdir(folder.path().c_str()) != 0) {
            ::_exit(126);
        }
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::execl(LUMIVERT_PROGRAM, LUMIVERT_PROGRAM, "-platform", "offscreen", "-session", "abc",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    pid_t ended = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!catchesTermination(child) && ended == 0 && std::chrono::steady_clock::now() < end) {
        ended = ::waitpid(child, &status, WNOHANG);
        std::this_thread::yield();
    }
    ASSERT_EQ(ended, 0) << "the program ended at once with status " << WEXITSTATUS(status);
    ::kill(child, SIGTERM);
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(std::filesystem::exists(folder / "work" / "sdata.tmp"));
}

} // namespace
} // namespace lumivert::testing
