// The program itself: which arguments open the window and which run the command line.
#include "tests/support/temp_folder.h"

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
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

// With only the toolkit's options the window opens and runs until it is asked to end.
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
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    int status = 0;
    const pid_t ended = ::waitpid(child, &status, WNOHANG);
    EXPECT_EQ(ended, 0) << "the program ended at once with status " << WEXITSTATUS(status);
    if (ended == 0) {
        ::kill(child, SIGTERM);
        ::waitpid(child, &status, 0);
    }
}

} // namespace
} // namespace lumivert::testing
