#include "app/cli/module_port.h"

namespace lumivert {

void ModulePortOptions::declare(CLI::App& command) {
    command.add_option("--port", port, "Serial port: a device path, or a name under /dev")
        ->required();
    command.add_option("--baud", baud, "Line speed in baud (default 115200)")
        ->check(CLI::PositiveNumber);
    command
        .add_option("--read-interval", readInterval,
                    "Milliseconds of quiet after which received bytes are delivered, 1 to 1000 "
                    "(default 100). The module answers each block with a few bytes, so a short "
                    "interval lets an upload run close to the speed of the line; but a pause "
                    "inside an answer longer than this splits it in two, and its second piece "
                    "can end the next wait before the module has answered")
        ->check(CLI::Range(1, 1000));
}

void ModulePortOptions::open(TComm& comm) const {
    comm.setCommName(port);
    comm.setBaudRate(baud);
    comm.setParity(TParity::None);
    comm.setByteSize(TByteSize::_8);
    comm.setStopBits(TStopBits::_1);
    comm.setReadIntervalTimeout(readInterval);
    comm.OpenPort();
}

} // namespace lumivert
