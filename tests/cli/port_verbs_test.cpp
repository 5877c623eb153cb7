#include "app/cli/command_line.h"
#include "app/ports/serial_port_list.h"

#include <gtest/gtest.h>
#include <sstream>

namespace lumivert {
namespace {

TEST(PortVerbs, ListsThePortsOfThePortBoxWithWhatTheSystemSays) {
    ScopedSerialPortSource source([] {
        std::vector<SerialPortEntry> ports(3);
        ports[0] = {"ttyUSB10", "/dev/ttyUSB10", "ftdi_sio", "FT232R USB UART",
                    "FTDI",     0x0403,          0x6001,     "A1B2"};
        ports[1].name = "ttyS0";
        ports[1].path = "/dev/ttyS0";
        ports[1].driver = "serial8250";
        ports[2].name = "ttyUSB2";
        return ports;
    });
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(runCommandLine({"ports"}, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), "ttyS0  /dev/ttyS0  driver serial8250\n"
                         "ttyUSB10  /dev/ttyUSB10  driver ftdi_sio  USB 0403:6001  FT232R USB "
                         "UART  FTDI  serial A1B2\n"
                         "ttyUSB2\n");
    EXPECT_EQ(err.str(), "");
}

TEST(PortVerbs, SaysSoWhenThereIsNone) {
    ScopedSerialPortSource source([] { return std::vector<SerialPortEntry>{}; });
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(runCommandLine({"ports"}, out, err), 0);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("--port"), std::string::npos);
}

} // namespace
} // namespace lumivert
