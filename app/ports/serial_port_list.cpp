#include "app/ports/serial_port_list.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <utility>

namespace lumivert {
namespace {

// The kernel driver behind a terminal device, from sysfs; empty where it does not say. The
// serial core puts devices of its own ("port", "ctrl" of the bus serial-base) between a UART
// and its terminal; the driver that names the hardware is above them.
std::string driverOf(const std::string& name) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path device = fs::canonical(fs::path("/sys/class/tty") / name / "device", error);
    for (int level = 0; !error && level < 4; ++level) {
        const fs::path driver = fs::read_symlink(device / "driver", error);
        if (error) {
            break;
        }
        if (driver.parent_path().parent_path().filename() != "serial-base") {
            return driver.filename().string();
        }
        device = device.parent_path();
    }
    return {};
}

std::vector<SerialPortEntry> systemPorts() {
    std::vector<SerialPortEntry> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialPortEntry port;
        port.name = info.portName().toStdString();
        port.path = info.systemLocation().toStdString();
        port.driver = driverOf(port.name);
        port.description = info.description().toStdString();
        port.manufacturer = info.manufacturer().toStdString();
        if (info.hasVendorIdentifier()) {
            port.vendorId = info.vendorIdentifier();
        }
        if (info.hasProductIdentifier()) {
            port.productId = info.productIdentifier();
        }
        port.serialNumber = info.serialNumber().toStdString();
        ports.push_back(std::move(port));
    }
    return ports;
}

std::function<std::vector<SerialPortEntry>()>& portSource() {
    static std::function<std::vector<SerialPortEntry>()> source = systemPorts;
    return source;
}

bool lessIgnoringCase(const std::string& left, const std::string& right) {
    return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                        [](char a, char b) {
                                            return std::tolower(static_cast<unsigned char>(a)) <
                                                   std::tolower(static_cast<unsigned char>(b));
                                        });
}

std::string hex4(std::uint16_t value) {
    char text[5];
    std::snprintf(text, sizeof text, "%04x", value);
    return text;
}

} // namespace

std::vector<SerialPortEntry> listSerialPorts() {
    std::vector<SerialPortEntry> ports = portSource()();
    sortPortsIgnoringCase(ports);
    return ports;
}

void sortPortsIgnoringCase(std::vector<SerialPortEntry>& ports) {
    std::stable_sort(ports.begin(), ports.end(), [](const auto& left, const auto& right) {
        return lessIgnoringCase(left.name, right.name);
    });
}

std::string describePort(const SerialPortEntry& port) {
    std::string line = port.name;
    const auto add = [&](const std::string& part) {
        if (!part.empty()) {
            line += "  " + part;
        }
    };
    add(port.path);
    add(port.driver.empty() ? std::string() : "driver " + port.driver);
    if (port.vendorId && port.productId) {
        add("USB " + hex4(*port.vendorId) + ":" + hex4(*port.productId));
    }
    add(port.description);
    add(port.manufacturer);
    add(port.serialNumber.empty() ? std::string() : "serial " + port.serialNumber);
    return line;
}

ScopedSerialPortSource::ScopedSerialPortSource(std::function<std::vector<SerialPortEntry>()> source)
    : previous_(std::exchange(portSource(), std::move(source))) {}

ScopedSerialPortSource::~ScopedSerialPortSource() {
    portSource() = std::move(previous_);
}

} // namespace lumivert
