#pragma once

#include "common/unique_fd.h"
#include "serial/comm_settings.h"
#include "serial/comms_error.h"
#include "serial/port_thread.h"
#include "serial/read_thread.h"
#include "serial/write_thread.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace lumivert {

class TComm;

// The component's events. `Sender` is always the component itself.
using TReceiveDataEvent =
    std::function<void(TComm& Sender, const std::uint8_t* Buffer, std::uint16_t BufferLength)>;
using TReceiveErrorEvent = std::function<void(TComm& Sender, std::uint32_t EventMask)>;
using TModemStateChangeEvent = std::function<void(TComm& Sender, std::uint32_t ModemEvent)>;
using TNotifyEvent = std::function<void(TComm& Sender)>;
using TSendDataEmptyEvent = std::function<void(TComm& Sender)>;

// One serial port, over POSIX termios: opened by name, set up from the properties (see
// CommSettings and line_settings.h), served by a reader and a writer thread while open.
// Writing copies the bytes and queues them; what the threads produce (received bytes, line
// errors, modem-line changes, failures, the writer's queue running empty) comes back as
// events.
//
// Threads and ownership:
//
// - The component belongs to one thread, the user-interface thread: construction,
//   destruction, OpenPort, ClosePort, WriteData, every property and event setter and
//   dispatchPending run there and nowhere else. The reader and writer never touch the
//   component; they share with it only the port descriptor, the stop event and the two
//   queues (blocks to write, messages back).
// - Events are raised only from dispatchPending, on that thread, in the order the threads
//   posted them; never from inside WriteData, OpenPort, ClosePort or a setter. So a sender
//   that calls WriteData, clears its reply flag and only then lets events be dispatched
//   cannot miss the reply the written bytes provoke. A handler may call any member,
//   ClosePort and dispatchPending included.
// - The threads wake the user-interface thread through wakeDescriptor(), readable while
//   messages wait. The window watches it with a socket notifier and calls dispatchPending;
//   a command-line wait loop blocks in waitForEvents (or in its own poll() on the
//   descriptor) and then calls dispatchPending.
// - Data blocks: WriteData copies the caller's bytes into a block before it returns, so
//   the caller may reuse its buffer at once; the block then belongs to the writer, which
//   releases it once written, or when it ends. Received bytes come in a block that belongs
//   to the user-interface thread once posted; the component releases it right after the
//   OnReceiveData handler returns (or at once without a handler), so a handler that wants
//   to keep bytes copies them. `Buffer` is followed by one zero byte.
//
// What a user may rely on:
//
// - WriteData returns true when the bytes were queued (not sent); false when the port is
//   closed, `Length` is 0, or the writer has ended. Queued bytes go out in the order of the
//   calls, each call's bytes whole before the next call's start.
// - One OnReceiveData carries what one read collected: 1 to 4,096 bytes. A read completes
//   when ReadIntervalTimeout ms pass after a byte without another (100 ms in the main
//   window), when it holds 4,096 bytes, or at the read's total timeout (read_timing.h). A
//   reply may come in several events, or joined with other bytes in one.
// - OnRequestHangup: a thread met a failure it cannot recover from (the device went away,
//   the peer of a pseudo-terminal closed) and ended. The port stays open until ClosePort,
//   which then works as always; with the writer ended WriteData returns false.
// - The component never closes the port on its own, except that destroying it closes it,
//   so that no thread outlives the queue it posts to.
class TComm {
public:
    // The construction defaults of CommSettings.
    TComm();
    explicit TComm(CommSettings settings);
    ~TComm();
    TComm(const TComm&) = delete;
    TComm& operator=(const TComm&) = delete;

    // Opens the port CommName (portDevicePath), discards what was waiting on it, applies the
    // timeouts and the line settings and starts the reader, then the writer. Throws
    // ECommsError: "此串口已经打开" when open (nothing changes), "打开串口出错\r\n此串口不存在
    // 或被占用" for a missing or held device, "初始化缓冲区出错" for a path that is no
    // terminal, "串口 <name> 不支持这些线路设置（波特率 <rate>）" when the driver refuses
    // the line settings or the rate, "无法创建事件", "无法创建读线程", "无法创建写线程";
    // after any of these but the first the component is closed and holds nothing.
    void OpenPort();

    // Stops both threads (discarding unread input and unsent output, so it never waits for
    // the line), gives up the exclusive use and closes the port. Nothing when closed. Right
    // after a drainOutput that succeeded nothing is left to discard, and nothing is. Hang-up
    // requests of the closed port that wait to be dispatched are dropped; its received data
    // still comes.
    void ClosePort();

    bool WriteData(const std::uint8_t* Data, std::uint16_t Length);

    // Waits, blocking this thread for at most `most`, until everything written so far has
    // left the writer and the driver's output queue has gone out on the line (tcdrain).
    // Returns whether it has; false when the time ran out, the port is closed or its writer
    // has ended. Events are not dispatched meanwhile: they wait for dispatchPending.
    bool drainOutput(std::chrono::milliseconds most);

    // The bytes written and not yet on the line, as far as the port knows: those its writer
    // still holds and those in the driver's output queue. 0 when closed.
    std::size_t unsentBytes() const;

    // When set, the reader also completes a read as soon as the bytes it holds end with this
    // text, so that an answer framed by it is delivered without waiting for the read
    // interval. Empty (the default): only the read timeouts and the read size complete a
    // read. Takes effect from the next read on.
    const std::string& ReplyEnd() const { return replyEnd_; }
    void setReplyEnd(const std::string& value);

    bool isOpen() const { return static_cast<bool>(port_); }

    // Raises the events of every message that waits now; returns how many. Messages posted
    // meanwhile wait for the next call. When a handler throws, the exception leaves here
    // and the messages after it wait for the next call (the wake-up descriptor stays
    // readable).
    std::size_t dispatchPending();

    // How many messages wait to be dispatched now.
    std::size_t eventsWaiting() const { return messages_.size(); }

    // Readable while messages wait to be dispatched.
    int wakeDescriptor() const { return messages_.wake().descriptor(); }

    // Waits until messages wait to be dispatched or `timeout` has passed; returns whether
    // they do. For a wait loop without an event loop of its own.
    bool waitForEvents(std::chrono::milliseconds timeout) const;

    // The properties. Each setter does nothing when given the value held. While the port is
    // open, a line setting is applied at once (ApplyCommState, which throws ECommsError as
    // OpenPort does when the driver refuses it; the port stays open and the value stays
    // stored), a timeout too (ApplyTimeouts); CommName and Parity are only stored then: the name
    // serves the next opening, the parity the next opening or the next change of another line
    // setting.
    const CommSettings& settings() const { return settings_; }

    const std::string& CommName() const { return settings_.CommName; }
    void setCommName(const std::string& value) { settings_.CommName = value; }
    std::uint32_t BaudRate() const { return settings_.BaudRate; }
    void setBaudRate(std::uint32_t value) { changeLine(&CommSettings::BaudRate, value); }
    bool ParityCheck() const { return settings_.ParityCheck; }
    void setParityCheck(bool value) { changeLine(&CommSettings::ParityCheck, value); }
    bool Outx_CtsFlow() const { return settings_.Outx_CtsFlow; }
    void setOutx_CtsFlow(bool value) { changeLine(&CommSettings::Outx_CtsFlow, value); }
    bool Outx_DsrFlow() const { return settings_.Outx_DsrFlow; }
    void setOutx_DsrFlow(bool value) { changeLine(&CommSettings::Outx_DsrFlow, value); }
    TDtrControl DtrControl() const { return settings_.DtrControl; }
    void setDtrControl(TDtrControl value) { changeLine(&CommSettings::DtrControl, value); }
    bool DsrSensitivity() const { return settings_.DsrSensitivity; }
    void setDsrSensitivity(bool value) { changeLine(&CommSettings::DsrSensitivity, value); }
    bool TxContinueOnXoff() const { return settings_.TxContinueOnXoff; }
    void setTxContinueOnXoff(bool value) { changeLine(&CommSettings::TxContinueOnXoff, value); }
    bool Outx_XonXoffFlow() const { return settings_.Outx_XonXoffFlow; }
    void setOutx_XonXoffFlow(bool value) { changeLine(&CommSettings::Outx_XonXoffFlow, value); }
    bool Inx_XonXoffFlow() const { return settings_.Inx_XonXoffFlow; }
    void setInx_XonXoffFlow(bool value) { changeLine(&CommSettings::Inx_XonXoffFlow, value); }
    bool ReplaceWhenParityError() const { return settings_.ReplaceWhenParityError; }
    void setReplaceWhenParityError(bool value) {
        changeLine(&CommSettings::ReplaceWhenParityError, value);
    }
    bool IgnoreNullChar() const { return settings_.IgnoreNullChar; }
    void setIgnoreNullChar(bool value) { changeLine(&CommSettings::IgnoreNullChar, value); }
    TRtsControl RtsControl() const { return settings_.RtsControl; }
    void setRtsControl(TRtsControl value) { changeLine(&CommSettings::RtsControl, value); }
    std::uint16_t XonLimit() const { return settings_.XonLimit; }
    void setXonLimit(std::uint16_t value) { changeLine(&CommSettings::XonLimit, value); }
    std::uint16_t XoffLimit() const { return settings_.XoffLimit; }
    void setXoffLimit(std::uint16_t value) { changeLine(&CommSettings::XoffLimit, value); }
    TByteSize ByteSize() const { return settings_.ByteSize; }
    void setByteSize(TByteSize value) { changeLine(&CommSettings::ByteSize, value); }
    TParity Parity() const { return settings_.Parity; }
    void setParity(TParity value) { settings_.Parity = value; }
    TStopBits StopBits() const { return settings_.StopBits; }
    void setStopBits(TStopBits value) { changeLine(&CommSettings::StopBits, value); }
    char XonChar() const { return settings_.XonChar; }
    void setXonChar(char value) { changeLine(&CommSettings::XonChar, value); }
    char XoffChar() const { return settings_.XoffChar; }
    void setXoffChar(char value) { changeLine(&CommSettings::XoffChar, value); }
    char ReplacedChar() const { return settings_.ReplacedChar; }
    void setReplacedChar(char value) { changeLine(&CommSettings::ReplacedChar, value); }
    std::uint32_t ReadIntervalTimeout() const { return settings_.ReadIntervalTimeout; }
    void setReadIntervalTimeout(std::uint32_t value) {
        changeTimeout(&CommSettings::ReadIntervalTimeout, value);
    }
    std::uint32_t ReadTotalTimeoutMultiplier() const {
        return settings_.ReadTotalTimeoutMultiplier;
    }
    void setReadTotalTimeoutMultiplier(std::uint32_t value) {
        changeTimeout(&CommSettings::ReadTotalTimeoutMultiplier, value);
    }
    std::uint32_t ReadTotalTimeoutConstant() const { return settings_.ReadTotalTimeoutConstant; }
    void setReadTotalTimeoutConstant(std::uint32_t value) {
        changeTimeout(&CommSettings::ReadTotalTimeoutConstant, value);
    }
    std::uint32_t WriteTotalTimeoutMultiplier() const {
        return settings_.WriteTotalTimeoutMultiplier;
    }
    void setWriteTotalTimeoutMultiplier(std::uint32_t value) {
        changeTimeout(&CommSettings::WriteTotalTimeoutMultiplier, value);
    }
    std::uint32_t WriteTotalTimeoutConstant() const { return settings_.WriteTotalTimeoutConstant; }
    void setWriteTotalTimeoutConstant(std::uint32_t value) {
        changeTimeout(&CommSettings::WriteTotalTimeoutConstant, value);
    }

    // The event slots; an empty one raises nothing.
    void setOnReceiveData(TReceiveDataEvent handler) { OnReceiveData_ = std::move(handler); }
    void setOnRequestHangup(TNotifyEvent handler) { OnRequestHangup_ = std::move(handler); }
    void setOnReceiveError(TReceiveErrorEvent handler) { OnReceiveError_ = std::move(handler); }
    void setOnModemStateChange(TModemStateChangeEvent handler) {
        OnModemStateChange_ = std::move(handler);
    }
    void setOnSendDataEmpty(TSendDataEmptyEvent handler) { OnSendDataEmpty_ = std::move(handler); }

private:
    template <typename T> void changeLine(T CommSettings::*field, const T& value) {
        if (settings_.*field != value) {
            settings_.*field = value;
            if (isOpen()) {
                ApplyCommState();
            }
        }
    }
    template <typename T> void changeTimeout(T CommSettings::*field, const T& value) {
        if (settings_.*field != value) {
            settings_.*field = value;
            if (isOpen()) {
                ApplyTimeouts();
            }
        }
    }

    void ApplyCommState();
    void ApplyTimeouts();
    void startThreads();
    void StopReaderThread();
    void StopWriterThread();
    void HandleWindowMessage(const CommMessage& message);

    std::unique_ptr<TReadThread> ReaderThread;
    std::unique_ptr<TWriteThread> WriterThread;
    UniqueFd port_;
    std::unique_ptr<WakeEvent> StopEvent;
    CommMessageQueue messages_;
    SharedReadTimeouts readTimeouts_;
    CommSettings settings_;
    std::string replyEnd_;
    bool outputDrained_ = false;

    TReceiveDataEvent OnReceiveData_;
    TNotifyEvent OnRequestHangup_;
    TReceiveErrorEvent OnReceiveError_;
    TModemStateChangeEvent OnModemStateChange_;
    TSendDataEmptyEvent OnSendDataEmpty_;
};

} // namespace lumivert
