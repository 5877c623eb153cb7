#include "app/cli/command_line.h"
#include "app/cli/program_start.h"
#include "app/window/run_window.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    lumivert::ProgramStart start = lumivert::chooseProgramStart(argc, argv);
    if (!start.window) {
        return lumivert::runCommandLine(argc, argv);
    }
    if (!start.folder.empty() && start.userFolder) {
        std::fputs("lumivert: -C and --user-folder each name the working folder; give one.\n",
                   stderr);
        return 2;
    }
    try {
        lumivert::enterStartFolder(start.folder, start.userFolder);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lumivert: %s\n", error.what());
        return 1;
    }
    return lumivert::runWindow(static_cast<int>(start.toolkitArguments.size()),
                               start.toolkitArguments.data());
}
