#include "app/cli/port_verbs.h"

#include "app/ports/serial_port_list.h"

namespace lumivert {
namespace {

class PortsVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        return parent.add_subcommand(
            "ports", "List the serial ports (name, device, driver, USB ids, product) for --port");
    }

    void run(VerbStreams& streams) override {
        const auto ports = listSerialPorts();
        for (const auto& port : ports) {
            streams.out << describePort(port) << '\n';
        }
        if (ports.empty()) {
            streams.err << "No serial ports found; --port also takes a device path such as "
                           "/dev/pts/3.\n";
        }
    }
};

} // namespace

std::vector<DeclaredVerb> declarePortVerbs(CLI::App& parent) {
    std::vector<DeclaredVerb> verbs;
    verbs.push_back(declare(parent, std::make_unique<PortsVerb>()));
    return verbs;
}

} // namespace lumivert
