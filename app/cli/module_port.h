#pragma once

#include "serial/tcomm.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>

namespace lumivert {

// The options of a verb that talks to the module, and the port they describe: the main
// window's port settings with the port, speed and read interval given.
struct ModulePortOptions {
    std::string port;
    std::uint32_t baud = 115200;
    std::uint32_t readInterval = 100;

    void declare(CLI::App& command);

    // Opens `comm` on the port; throws ECommsError when it cannot.
    void open(TComm& comm) const;
};

} // namespace lumivert
