#include "app/cli/module_port.h"

#include "common/escaped_text.h"

#include <charconv>
#include <stdexcept>

namespace lumivert {
namespace {

constexpr std::uint32_t kSlowestRate = 50;
constexpr std::uint32_t kFastestRate = 4'000'000;

// Rates outside these bounds are no serial line's; whether the driver takes one within them
// is for the port's opening to tell.
std::string checkLineSpeed(const std::string& typed) {
    std::uint32_t rate = 0;
    const auto [end, error] = std::from_chars(typed.data(), typed.data() + typed.size(), rate);
    if (error != std::errc() || end != typed.data() + typed.size() || rate < kSlowestRate ||
        rate > kFastestRate) {
        return "\"" + typed + "\" is no line speed: give a rate from " +
               std::to_string(kSlowestRate) + " to " + std::to_string(kFastestRate) + " baud";
    }
    return {};
}

std::string checkReplyEnd(const std::string& typed) {
    try {
        unescapeText(typed);
        return {};
    } catch (const std::invalid_argument& error) {
        return error.what();
    }
}

} // namespace

void ModulePortOptions::declare(CLI::App& command, bool portRequired) {
    auto* portOption =
        command.add_option("--port", port, "Serial port: a device path, or a name under /dev");
    if (portRequired) {
        portOption->required();
    }
    command.add_option("--baud", baud, "Line speed in baud, 50 to 4000000 (default 115200)")
        ->check(CLI::Validator(checkLineSpeed, "RATE"));
    command
        .add_option("--read-interval", readInterval,
                    "Milliseconds of quiet after which received bytes are delivered, 1 to 1000 "
                    "(default 100). The module answers each block with a few bytes, so a short "
                    "interval lets an upload run close to the speed of the line; but a pause "
                    "inside an answer longer than this splits it in two, and its second piece "
                    "can end the next wait before the module has answered")
        ->check(CLI::Range(1, 1000));
    command
        .add_option("--reply-end", replyEnd,
                    "The text every answer of the module ends with, such as '\\r\\n' (\\r, \\n, "
                    "\\t, \\\\ and \\xHH stand for their bytes). An answer then counts only once "
                    "it ends so: it is taken in as soon as it has, and its pieces never end a "
                    "later wait, so an upload runs at the speed of the line")
        ->check(CLI::Validator(checkReplyEnd, "TEXT"));
}

void ModulePortOptions::open(ModuleChannel& channel) const {
    TComm& comm = channel.comm();
    comm.setCommName(port);
    comm.setBaudRate(baud);
    comm.setParity(TParity::None);
    comm.setByteSize(TByteSize::_8);
    comm.setStopBits(TStopBits::_1);
    comm.setReadIntervalTimeout(readInterval);
    channel.setReplyEnd(unescapeText(replyEnd));
    channel.openPort();
}

} // namespace lumivert
