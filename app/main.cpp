#include "app/cli/command_line.h"
#include "app/window/run_window.h"

int main(int argc, char** argv) {
    if (lumivert::wantsCommandLine(argc, argv)) {
        return lumivert::runCommandLine(argc, argv);
    }
    return lumivert::runWindow(argc, argv);
}
