#pragma once

#include "serial/reply_flag.h"
#include "serial/tcomm.h"
#include "tools/virtual-module/virtual_module.h"
#include "transfer/block_upload.h"
#include "transfer/module_link.h"
#include "transfer/port_event_host.h"

#include <string>
#include <vector>

namespace lumivert::testing {

// The virtual module serving a pseudo-terminal, and a port opened on it as the command line
// opens one: the main window's settings, events dispatched by a PortEventHost, the reply
// flag raised on every receive event. The read interval is short, so that tests run fast.
class LinkedModule {
public:
    explicit LinkedModule(VirtualModuleOptions options = {}, std::uint32_t readInterval = 5)
        : module(std::move(options)), comm(CommSettings::mainWindow()) {
        comm.setCommName(module.path());
        comm.setBaudRate(115200);
        comm.setReadIntervalTimeout(readInterval);
        comm.setOnReceiveData([this](TComm&, const std::uint8_t* bytes, std::uint16_t length) {
            replyFlag.raise();
            ++receiveEvents;
            received.append(reinterpret_cast<const char*>(bytes), length);
        });
        module.start();
        comm.OpenPort();
    }

    VirtualModule module;
    TComm comm;
    ReplyFlag replyFlag;
    std::string received;
    int receiveEvents = 0;
    PortEventHost host{comm};
    ModuleLink link{comm, replyFlag, host};
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
