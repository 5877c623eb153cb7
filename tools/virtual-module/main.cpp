// lumivert-virtual-module: a stand-in for the display module on a pseudo-terminal, for trying
// the workbench without a module. It prints the path of the terminal to open as the port, then
// one line for each command and data block it receives; protocol errors go to standard error,
// and so does the count of what it received when it ends.

#include "common/escaped_text.h"
#include "tools/virtual-module/virtual_module.h"

#include <CLI/CLI.hpp>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

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

// The name the program goes by in its help, its messages and its summary: the one it was
// started by, lumivert-virtual-module when installed, virtual-module in the build tree.
std::string programName(int argc, char** argv) {
    if (argc > 0 && argv[0] != nullptr) {
        std::string name = std::filesystem::path(argv[0]).filename().string();
        if (!name.empty()) {
            return name;
        }
    }
    return "lumivert-virtual-module";
}

} // namespace

int main(int argc, char** argv) {
    const std::string name = programName(argc, argv);
    CLI::App app{"A stand-in for the display module on a pseudo-terminal. It prints the path to "
                 "open as the serial port, answers every command (ended by a carriage return) "
                 "and every 1,024-byte block after BUP(<page>,232), keeps the blocks unscrambled "
                 "in a 2 MB flash image, and logs what it receives. SIGUSR1 writes the flash "
                 "file; SIGINT, SIGTERM or SIGHUP end it, writing the flash file and counting "
                 "the commands, blocks and protocol errors received on standard error. Exit "
                 "status 1 when a protocol error was seen or the module could not start.",
                 name};
    app.failure_message([name](const CLI::App* failed, const CLI::Error& error) {
        return name + ": " + CLI::FailureMessage::simple(failed, error);
    });
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
        std::cerr << name << ": " << error.what() << '\n';
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

    std::optional<lumivert::VirtualModule> module;
    try {
        module.emplace(std::move(options));
    } catch (const std::exception& error) {
        std::cerr << name << ": " << error.what() << '\n';
        return 1;
    }
    // Whoever has the path may signal the module at once.
    servedModule = &*module;
    handleSignals();
    std::cout << module->path() << std::endl;
    module->serve();
    servedModule = nullptr;
    std::cerr << name << ": " << module->summary() << std::endl;
    return protocolError ? 1 : 0;
}
