#pragma once

#include "serial/reply_flag.h"
#include "serial/tcomm.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace lumivert {

// How many exchanges a sender made and how the module's bytes came back meanwhile: in how
// many deliveries of the port, and how many of the answers ended with the reply end.
struct AnswerCounts {
    std::int64_t exchanges = 0;
    std::int64_t deliveries = 0;
    std::int64_t framedAnswers = 0;

    AnswerCounts operator-(const AnswerCounts& before) const {
        return {exchanges - before.exchanges, deliveries - before.deliveries,
                framedAnswers - before.framedAnswers};
    }
};

// The one wiring of a port for exchanges with the module, used by the window, the command
// line and the tests alike: it is the port's receive handler and its hang-up handler.
//
// An exchange lowers the reply flag (expectAnswer), writes, and waits until the flag is
// raised. Without a reply end any bytes that arrive raise it, as the module's answer. With a
// reply end, only an answer that holds it raises it: the bytes that arrive after the write
// are gathered until the reply end is among them, so a reply in several pieces is one
// answer, and the port delivers bytes as soon as they end with it.
//
// A hang-up of the port (the device went away) marks the port lost until it is opened again
// through openPort; a transfer then ends at once, naming the port.
//
// Everything runs on the port's user-interface thread. The channel must not outlive the
// port, and the port's receive and hang-up handlers are the channel's while it lives.
class ModuleChannel {
public:
    using ReceivedBytes = std::function<void(const std::uint8_t* bytes, std::uint16_t length)>;
    using PortLost = std::function<void()>;

    explicit ModuleChannel(TComm& comm);
    ~ModuleChannel();
    ModuleChannel(const ModuleChannel&) = delete;
    ModuleChannel& operator=(const ModuleChannel&) = delete;

    TComm& comm() { return comm_; }

    // Opens the port (throws ECommsError as OpenPort does); it counts as present again.
    void openPort();

    // Told every delivery of received bytes, after the reply flag has been dealt with.
    void setOnReceived(ReceivedBytes received) { received_ = std::move(received); }
    // Told when the port has gone away while open.
    void setOnPortLost(PortLost lost) { lost_ = std::move(lost); }

    // The text that ends every answer of the module (GBK bytes); empty: none.
    void setReplyEnd(const std::string& replyEnd);
    const std::string& replyEnd() const { return replyEnd_; }

    // Starts an exchange: lowers the reply flag; what arrives from now on is its answer.
    void expectAnswer();
    bool answered() const { return replyFlag_.raised(); }
    // Bytes have arrived since expectAnswer but not the reply end.
    bool answerIncomplete() const { return !answered() && bytesSinceExpect_; }
    bool portLost() const { return portLost_; }

    const ReplyFlag& replyFlag() const { return replyFlag_; }
    AnswerCounts counts() const { return counts_; }

private:
    void received(const std::uint8_t* bytes, std::uint16_t length);
    bool holdsReplyEnd(std::span<const std::uint8_t> bytes);
    void hungUp();

    TComm& comm_;
    ReplyFlag replyFlag_;
    std::string replyEnd_;
    std::string tail_; // the last bytes received, as long as the reply end less one
    bool bytesSinceExpect_ = false;
    bool portLost_ = false;
    AnswerCounts counts_;
    ReceivedBytes received_;
    PortLost lost_;
};

// Whether the module's answers came in more pieces than there were exchanges, so that one
// of them may have ended the wait of a later exchange before its own answer: more deliveries
// than exchanges without a reply end, more framed answers than exchanges with one.
bool answersOutnumberExchanges(const AnswerCounts& counts, bool framed);

} // namespace lumivert
