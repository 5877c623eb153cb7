#include "serial/tcomm.h"

#include "serial/line_settings.h"
#include "serial/port_device.h"

#include <new>
#include <sys/ioctl.h>
#include <system_error>
#include <termios.h>

namespace lumivert {
namespace {

std::string refusedRateMessage(const CommSettings& settings) {
    return "串口 " + settings.CommName + " 不支持这些线路设置（波特率 " +
           std::to_string(settings.BaudRate) + "）";
}

} // namespace

TComm::TComm() : TComm(CommSettings{}) {}

TComm::TComm(CommSettings settings) : settings_(std::move(settings)) {}

// Closing first: the threads post into the component's queue until they end.
TComm::~TComm() {
    ClosePort();
}

void TComm::OpenPort() {
    if (isOpen()) {
        throw ECommsError("此串口已经打开");
    }
    port_ = openPortDevice(settings_.CommName);
    ::tcflush(port_.get(), TCIOFLUSH);
    ApplyTimeouts();
    if (!applyLineSettings(port_.get(), settings_)) {
        releasePortDevice(std::move(port_));
        throw ECommsError(refusedRateMessage(settings_));
    }
    try {
        StopEvent = std::make_unique<WakeEvent>();
    } catch (const std::exception&) {
        releasePortDevice(std::move(port_));
        throw ECommsError("无法创建事件");
    }
    startThreads();
}

// The reader is created and started before the writer. A thread that cannot be created
// leaves nothing behind: the stop event ends a reader already running.
void TComm::startThreads() {
    const PortThreadLinks links{port_.get(), *StopEvent, messages_};
    const char* failure = "无法创建读线程";
    try {
        ReaderThread = std::make_unique<TReadThread>(links, readTimeouts_);
        failure = "无法创建写线程";
        WriterThread = std::make_unique<TWriteThread>(links);
        failure = "无法创建读线程";
        ReaderThread->start();
        failure = "无法创建写线程";
        WriterThread->start();
    } catch (const std::exception&) {
        StopReaderThread();
        StopWriterThread();
        StopEvent.reset();
        releasePortDevice(std::move(port_));
        throw ECommsError(failure);
    }
}

void TComm::ClosePort() {
    if (!isOpen()) {
        return;
    }
    StopReaderThread();
    StopWriterThread();
    StopEvent.reset();
    releasePortDevice(std::move(port_));
    // A failure of the port just closed says nothing of the next one.
    messages_.discardIf(
        [](const CommMessage& message) { return message.kind == CommMessageKind::RequestHangup; });
}

// Setting the stop event ends the thread's wait at once, whatever it waits for.
void TComm::StopReaderThread() {
    if (ReaderThread) {
        StopEvent->set();
        ::tcflush(port_.get(), TCIFLUSH);
        ReaderThread.reset();
    }
}

void TComm::StopWriterThread() {
    if (WriterThread) {
        StopEvent->set();
        if (!outputDrained_) {
            ::tcflush(port_.get(), TCOFLUSH);
        }
        WriterThread.reset();
        outputDrained_ = false;
    }
}

bool TComm::WriteData(const std::uint8_t* Data, std::uint16_t Length) {
    if (!WriterThread || Length == 0) {
        return false;
    }
    try {
        const bool queued = WriterThread->post(DataBlock::copyOf(Data, Length));
        outputDrained_ = outputDrained_ && !queued;
        return queued;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool TComm::drainOutput(std::chrono::milliseconds most) {
    outputDrained_ = WriterThread && WriterThread->drain(most);
    return outputDrained_;
}

std::size_t TComm::unsentBytes() const {
    if (!WriterThread) {
        return 0;
    }
    int driverQueue = 0;
    if (::ioctl(port_.get(), TIOCOUTQ, &driverQueue) != 0 || driverQueue < 0) {
        driverQueue = 0;
    }
    return WriterThread->unwrittenBytes() + static_cast<std::size_t>(driverQueue);
}

void TComm::setReplyEnd(const std::string& value) {
    replyEnd_ = value;
    readTimeouts_.setReplyEnd(value);
}

void TComm::ApplyCommState() {
    if (!applyLineSettings(port_.get(), settings_)) {
        throw ECommsError(refusedRateMessage(settings_));
    }
}

void TComm::ApplyTimeouts() {
    readTimeouts_.set({settings_.ReadIntervalTimeout, settings_.ReadTotalTimeoutMultiplier,
                       settings_.ReadTotalTimeoutConstant});
}

std::size_t TComm::dispatchPending() {
    // Cleared before taking: a message posted from here on makes the descriptor readable
    // again.
    messages_.wake().clear();
    const std::size_t waiting = messages_.size();
    std::size_t dispatched = 0;
    try {
        for (; dispatched < waiting; ++dispatched) {
            const auto message = messages_.tryTake();
            if (!message) {
                break;
            }
            HandleWindowMessage(*message);
        }
    } catch (...) {
        if (messages_.size() > 0) {
            messages_.wake().set();
        }
        throw;
    }
    return dispatched;
}

bool TComm::waitForEvents(std::chrono::milliseconds timeout) const {
    return messages_.wake().wait(timeout);
}

// A received block is released when the message goes, after the handler has returned.
void TComm::HandleWindowMessage(const CommMessage& message) {
    switch (message.kind) {
    case CommMessageKind::ReceiveData:
        if (OnReceiveData_) {
            OnReceiveData_(*this, message.block.data(),
                           static_cast<std::uint16_t>(message.block.size()));
        }
        break;
    case CommMessageKind::ReceiveError:
        if (OnReceiveError_) {
            OnReceiveError_(*this, message.value);
        }
        break;
    case CommMessageKind::RequestHangup:
        if (OnRequestHangup_) {
            OnRequestHangup_(*this);
        }
        break;
    case CommMessageKind::ModemStateChange:
        if (OnModemStateChange_) {
            OnModemStateChange_(*this, message.value);
        }
        break;
    case CommMessageKind::SendDataEmpty:
        if (OnSendDataEmpty_) {
            OnSendDataEmpty_(*this);
        }
        break;
    }
}

} // namespace lumivert
