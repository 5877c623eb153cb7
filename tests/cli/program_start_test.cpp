// The program itself: which arguments open the window and which run the command line.
#include "app/cli/program_start.h"
#include "tests/support/temp_folder.h"

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

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
        {"--bogus", 2, "unknown option \"--bogus\""},
        {"-x", 2, "unknown option \"-x\""},
        {"-C '" + folder.path().string() + "' --bogus", 2, "unknown option \"--bogus\""},
        {"image info --bogus", 2, "unknown option \"--bogus\""},
        {"colour --bogus 00FF00", 2, "unknown option \"--bogus\""},
        {"--version", 0, "lumivert 1.1.0"},
        {"-C '" + folder.path().string() + "' --user-folder colour 0000FF", 2, "excludes"},
        {"-C '" + (folder / "missing").string() + "' colour 0000FF", 1,
         "Cannot use the working directory"},
        // Options of the window's toolkit go to the window; what the toolkit leaves is named.
        {"-platform offscreen -bogus", 2, "unknown option \"-bogus\""},
        {"-platform offscreen -style fusion -session abc extra", 2, "unknown argument \"extra\""},
        {"-C '" + folder.path().string() + "' -platform offscreen -bogus", 2,
         "unknown option \"-bogus\""},
        {"-C '" + (folder / "missing").string() + "' -platform offscreen", 1,
         "Cannot use the working directory"},
        {"-C '" + folder.path().string() + "' --user-folder -platform offscreen", 2, "give one"},
    };
    for (const auto& c : cases) {
        const Finished run = runProgram(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.output), std::string::npos) << c.arguments << "\n"
                                                                << run.output;
    }
}

// The version, with the revision of the checkout the program was built from.
TEST(ProgramStart, VersionNamesTheRevisionOfAGitCheckout) {
    FILE* git =
        ::popen("git -C '" LUMIVERT_SOURCE_DIR "' rev-parse --short=12 HEAD 2>/dev/null", "r");
    std::array<char, 64> revision{};
    const bool checkout = std::fgets(revision.data(), revision.size(), git) != nullptr;
    ::pclose(git);

    const Finished run = runProgram("--version");
    EXPECT_EQ(run.status, 0);
    std::string expected = "lumivert 1.1.0";
    if (checkout) {
        expected += " (revision " + std::string(revision.data(), 12);
    }
    EXPECT_EQ(run.output.substr(0, expected.size()), expected) << run.output;
}

// Which arguments open the window, in which folder, and what the toolkit is given.
TEST(ProgramStart, FolderOptionsComeBeforeTheChoice) {
    struct Case {
        std::vector<std::string> arguments;
        bool window;
        std::string folder;
        bool userFolder;
        std::vector<std::string> toolkit; // after the program's name
    };
    const Case cases[] = {
        {{}, true, "", false, {}},
        {{"-C", "d"}, true, "d", false, {}},
        {{"-Cd"}, true, "d", false, {}},
        {{"--user-folder"}, true, "", true, {}},
        {{"-C", "d", "-platform", "offscreen"}, true, "d", false, {"-platform", "offscreen"}},
        {{"--platform=offscreen", "-x"}, true, "", false, {"--platform=offscreen", "-x"}},
        {{"-C", "d", "colour", "FF0000"}, false, "d", false, {}},
        {{"--user-folder", "image", "info"}, false, "", true, {}},
        {{"--bogus"}, false, "", false, {}},
        {{"--version"}, false, "", false, {}},
        {{"-C"}, false, "", false, {}}, // the command line reports the missing folder
    };
    for (const auto& c : cases) {
        std::vector<std::string> words{"lumivert"};
        words.insert(words.end(), c.arguments.begin(), c.arguments.end());
        std::vector<char*> argv;
        argv.reserve(words.size());
        for (auto& word : words) {
            argv.push_back(word.data());
        }
        const ProgramStart start = chooseProgramStart(static_cast<int>(argv.size()), argv.data());
        std::string shown;
        for (const auto& word : c.arguments) {
            shown += word + " ";
        }
        EXPECT_EQ(start.window, c.window) << shown;
        if (!c.window) {
            continue;
        }
        EXPECT_EQ(start.folder, c.folder) << shown;
        EXPECT_EQ(start.userFolder, c.userFolder) << shown;
        ASSERT_FALSE(start.toolkitArguments.empty()) << shown;
        EXPECT_STREQ(start.toolkitArguments.front(), "lumivert") << shown;
        EXPECT_EQ(std::vector<std::string>(start.toolkitArguments.begin() + 1,
                                           start.toolkitArguments.end()),
                  c.toolkit)
            << shown;
    }
}

// The menu's folder: ~/Lumivert with its three folders, made on first use and kept after.
TEST(ProgramStart, UserFolderIsCreatedBelowHome) {
    TempFolder home;
    const char* before = std::getenv("HOME");
    const std::string previousHome = before != nullptr ? before : "";
    ::setenv("HOME", home.path().c_str(), 1);
    const auto previousFolder = std::filesystem::current_path();

    enterStartFolder("", true);
    const auto entered = std::filesystem::current_path();
    std::ofstream(home / "Lumivert" / "work" / "kept") << "x";
    enterStartFolder("", true);

    std::filesystem::current_path(previousFolder);
    ::setenv("HOME", previousHome.c_str(), 1);
    EXPECT_EQ(entered, home / "Lumivert");
    for (const char* below : {"work", "src", "pic"}) {
        EXPECT_TRUE(std::filesystem::is_directory(home / "Lumivert" / below)) << below;
    }
    EXPECT_TRUE(std::filesystem::exists(home / "Lumivert" / "work" / "kept"));
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
