#pragma once

#include "serial/tcomm.h"
#include "tools/virtual-module/virtual_module.h"
#include "transfer/block_upload.h"
#include "transfer/module_channel.h"
#include "transfer/module_link.h"
#include "transfer/port_event_host.h"

#include <string>
#include <vector>

namespace lumivert::testing {

// The virtual module serving a pseudo-terminal, and a port opened on it as the command line
// opens one: the main window's settings, events dispatched by a PortEventHost, the module's
// channel on the port (with `replyEnd`, when given, framing its answers). The read interval
// is short, so that tests run fast.
class LinkedModule {
public:
    explicit LinkedModule(VirtualModuleOptions options = {}, std::uint32_t readInterval = 5,
                          const std::string& replyEnd = {})
        : module(std::move(options)), comm(CommSettings::mainWindow()) {
        comm.setCommName(module.path());
        comm.setBaudRate(115200);
        comm.setReadIntervalTimeout(readInterval);
        channel.setOnReceived([this](const std::uint8_t* bytes, std::uint16_t length) {
            ++receiveEvents;
            received.append(reinterpret_cast<const char*>(bytes), length);
        });
        channel.setReplyEnd(replyEnd);
        module.start();
        channel.openPort();
    }

    VirtualModule module;
    TComm comm;
    ModuleChannel channel{comm};
    std::string received;
    int receiveEvents = 0;
    PortEventHost host{comm};
    ModuleLink link{channel, host};
};

// The captions and positions an upload showed, in order.
class RecordingDisplay : public UploadDisplay {
public:
    void showCaption(const std::string& caption) override { captions.push_back(caption); }
    void showPosition(int position) override { positions.push_back(position); }

    std::vector<std::string> captions;
    std::vector<int> positions;
};

} // namespace lumivert::testing
