// virtual-module: a stand-in for the display module on a pseudo-terminal, for trying the
// workbench without a module. It prints the path of the terminal to open as the port, then
// one line for each command and data block it receives; protocol errors go to standard error,
// and so does the count of what it received when it ends.

#include "common/escaped_text.h"
#include "tools/virtual-module/virtual_module.h"

#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>

namespace {

lumivert::VirtualModule* servedModule = nullptr;

void onSignal(int signal) {
    if (servedModule == nullptr) {
        return;
    }
    if (signal == SIGUSR1) {
        servedModule->requestFlashSave();
    } else {
        servedModule->requestStop();
    }
}

void handleSignals() {
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1}) {
        sigaction(signal, &action, nullptr);
    }
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"A stand-in for the display module on a pseudo-terminal. It prints the path to "
                 "open as the serial port, answers every command (ended by a carriage return) "
                 "and every 1,024-byte block after BUP(<page>,232), keeps the blocks unscrambled "
                 "in a 2 MB flash image, and logs what it receives. SIGUSR1 writes the flash "
                 "file; SIGINT, SIGTERM or SIGHUP end it, writing the flash file and counting "
                 "the commands, blocks and protocol errors received on standard error. Exit "
                 "status 1 when a protocol error was seen.",
                 "virtual-module"};
    std::string reply = "OK\\r\\n";
    int delay = 0;
    int split = -1;
    bool silent = false;
    std::uint32_t baud = 0;
    bool eraseSectors = false;
    std::string flashFile;
    app.add_option("--reply", reply, "Reply text; \\r, \\n, \\t, \\\\ and \\xHH allowed")
        ->capture_default_str();
    app.add_option("--delay", delay, "Milliseconds before each reply")
        ->check(CLI::Range(0, 600000));
    app.add_option("--split", split, "Send each reply in two pieces, this many milliseconds apart")
        ->check(CLI::Range(0, 600000));
    app.add_flag("--silent", silent, "Never reply");
    app.add_option("--baud", baud,
                   "Take in and send bytes no faster than a line of this rate carries them "
                   "(8N1, 10 bits a byte)")
        ->check(CLI::Range(50, 4000000));
    app.add_flag("--erase-sectors", eraseSectors,
                 "Erase a 4,096-byte Sector to 0xFF when its first block arrives");
    app.add_option("--flash", flashFile, "File for the 2,097,152 bytes of the flash image");
    CLI11_PARSE(app, argc, argv);

    lumivert::VirtualModuleOptions options;
    try {
        options.reply = lumivert::unescapeText(reply);
    } catch (const std::exception& error) {
        std::cerr << "virtual-module: " << error.what() << '\n';
        return 2;
    }
    options.delay = std::chrono::milliseconds(delay);
    if (split >= 0) {
        options.splitPause = std::chrono::milliseconds(split);
    }
    options.silent = silent;
    if (baud != 0) {
        options.baud = baud;
    }
    options.eraseSectors = eraseSectors;
    options.flashFile = flashFile;
    bool protocolError = false;
    options.onLog = [](const std::string& line) { std::cout << line << std::endl; };
    options.onProtocolError = [&protocolError](const std::string& error) {
        protocolError = true;
        std::cerr << "protocol error: " << error << std::endl;
    };

    lumivert::VirtualModule module(std::move(options));
    std::cout << module.path() << std::endl;
    servedModule = &module;
    handleSignals();
    module.serve();
    servedModule = nullptr;
    std::cerr << "virtual-module: " << module.summary() << std::endl;
    return protocolError ? 1 : 0;
}
