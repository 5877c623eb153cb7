#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumivert {

// One serial port of the system, with what the system says of it.
struct SerialPortEntry {
    std::string name;         // what the port box offers and the port takes: "ttyUSB0"
    std::string path;         // "/dev/ttyUSB0"
    std::string driver;       // the kernel driver, where known: "ftdi_sio"
    std::string description;  // the product, where known: "FT232R USB UART"
    std::string manufacturer; // where known: "FTDI"
    std::optional<std::uint16_t> vendorId;
    std::optional<std::uint16_t> productId;
    std::string serialNumber;
};

// The system's serial ports, sorted by name ignoring case (so ttyUSB10 comes before
// ttyUSB2, as COM10 before COM2). The window's port box and `lumivert ports` show this list.
std::vector<SerialPortEntry> listSerialPorts();

// Sorts in text order ignoring case; entries that differ only in case keep their order.
void sortPortsIgnoringCase(std::vector<SerialPortEntry>& ports);

// "ttyUSB0  /dev/ttyUSB0  driver ftdi_sio  USB 0403:6001  FT232R USB UART  FTDI  serial A1B2",
// leaving out what is not known.
std::string describePort(const SerialPortEntry& port);

// Replaces the system's list with `source` for as long as it lives (before sorting). For
// tests, which cannot add serial devices to the system.
class ScopedSerialPortSource {
public:
    explicit ScopedSerialPortSource(std::function<std::vector<SerialPortEntry>()> source);
    ~ScopedSerialPortSource();
    ScopedSerialPortSource(const ScopedSerialPortSource&) = delete;
    ScopedSerialPortSource& operator=(const ScopedSerialPortSource&) = delete;

private:
    std::function<std::vector<SerialPortEntry>()> previous_;
};

} // namespace lumivert
