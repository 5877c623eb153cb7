#pragma once

#include "transfer/module_channel.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>

namespace lumivert {

// The options of a verb that talks to the module, and the port they describe: the main
// window's port settings with the port, speed, read interval and reply end given.
struct ModulePortOptions {
    std::string port;
    std::uint32_t baud = 115200;
    std::uint32_t readInterval = 100;
    std::string replyEnd; // as typed, with its escapes

    // `portRequired` false: the verb checks itself whether it needs the port.
    void declare(CLI::App& command, bool portRequired = true);

    // Opens the channel's port; throws ECommsError when it cannot.
    void open(ModuleChannel& channel) const;
};

} // namespace lumivert
