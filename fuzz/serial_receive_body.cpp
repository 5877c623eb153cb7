#include "fuzz/bodies.h"
#include "transfer/module_channel.h"

#include <cerrno>
#include <chrono>
#include <functional>
#include <memory>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>

namespace lumivert::fuzz {
namespace {

using Clock = std::chrono::steady_clock;

// Long enough that only a hang reaches it.
constexpr auto kBound = std::chrono::seconds(5);
// The shortest read interval the command line takes: reads complete 1 ms after a pause.
constexpr std::uint32_t kReadInterval = 1;
constexpr std::size_t kLongestReplyEnd = 4;

// What an input stands for: a first byte of flags (bit 0: the module's answers end with a
// reply end; bit 1: the module goes away after its bytes); with a reply end, a byte giving its
// length (1 to 4) and then its bytes; then pieces, each a length byte and that many bytes,
// that the module writes one after another.
struct ModuleBytes {
    std::string replyEnd;
    bool goesAway = false;
    std::vector<std::string_view> pieces;
    std::string all;
};

ModuleBytes moduleBytes(Input input) {
    ModuleBytes bytes;
    std::string_view text = asText(input);
    if (text.empty()) {
        return bytes;
    }
    const auto flags = static_cast<unsigned char>(text[0]);
    bytes.goesAway = (flags & 2) != 0;
    text.remove_prefix(1);
    if ((flags & 1) != 0 && !text.empty()) {
        const std::size_t length = 1 + static_cast<unsigned char>(text[0]) % kLongestReplyEnd;
        text.remove_prefix(1);
        bytes.replyEnd = std::string(text.substr(0, length));
        text.remove_prefix(std::min(length, text.size()));
    }
    while (!text.empty()) {
        const std::size_t length = static_cast<unsigned char>(text[0]);
        text.remove_prefix(1);
        const std::string_view piece = text.substr(0, length);
        text.remove_prefix(piece.size());
        if (!piece.empty()) {
            bytes.pieces.push_back(piece);
            bytes.all += piece;
        }
    }
    return bytes;
}

// The module's end of a line: a pseudo-terminal whose terminal side the port has open, with
// its reader and writer running. It serves input after input, as opening a port for each would
// cost more than the input; a module that goes away takes it along.
class Line {
public:
    Line() {
        int peer = -1;
        int terminal = -1;
        char name[256] = {};
        if (::openpty(&peer, &terminal, name, nullptr, nullptr) != 0) {
            throw std::runtime_error("openpty failed");
        }
        peer_.reset(peer);
        terminal_.reset(terminal);
        termios raw{};
        ::tcgetattr(terminal, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(terminal, TCSANOW, &raw);
        comm.setCommName(name);
        comm.setBaudRate(115200);
        comm.setReadIntervalTimeout(kReadInterval);
        comm.OpenPort();
    }

    // Writes the piece from the module's side, letting the port's events be raised while the
    // line is full.
    void write(std::string_view piece) {
        while (!piece.empty()) {
            pollfd entry{peer_.get(), POLLOUT, 0};
            if (::poll(&entry, 1, 1) > 0) {
                const ssize_t written = ::write(peer_.get(), piece.data(), piece.size());
                if (written < 0 && errno != EINTR && errno != EAGAIN) {
                    throw std::runtime_error("the pseudo-terminal takes no more bytes");
                }
                piece.remove_prefix(written > 0 ? static_cast<std::size_t>(written) : 0);
            }
            comm.dispatchPending();
        }
    }

    // Dispatches the port's events until `done`; false when the bound passes first.
    bool dispatchUntil(const std::function<bool()>& done) {
        const auto end = Clock::now() + kBound;
        while (!done()) {
            if (Clock::now() > end) {
                return false;
            }
            if (comm.waitForEvents(std::chrono::milliseconds(10))) {
                comm.dispatchPending();
            }
        }
        return true;
    }

    void goAway() { peer_.reset(); }

    TComm comm{CommSettings::mainWindow()};

private:
    UniqueFd peer_;
    UniqueFd terminal_;
};

std::unique_ptr<Line>& sharedLine() {
    static std::unique_ptr<Line> line;
    if (!line) {
        line = std::make_unique<Line>();
    }
    return line;
}

// Non-overlapping occurrences, each searched for after the one before.
std::int64_t occurrences(std::string_view text, std::string_view end) {
    std::int64_t count = 0;
    for (std::size_t at = text.find(end); at != std::string_view::npos;
         at = text.find(end, at + end.size())) {
        ++count;
    }
    return count;
}

// Every byte arrives once and in order, in deliveries of 1 to 4,096 bytes each followed by a
// zero byte; the exchange is answered by any bytes, or with a reply end by the bytes that hold
// it, and every reply end among them is counted.
void expectAnswer(const ModuleChannel& channel, const ModuleBytes& sent,
                  const std::string& received, std::int64_t deliveries) {
    expect(received == sent.all, "the module's bytes arrive whole and in order");
    const AnswerCounts counts = channel.counts();
    expect(counts.exchanges == 1 && counts.deliveries == deliveries,
           "the channel counts the exchange and every delivery");
    const bool framed = !sent.replyEnd.empty();
    const bool answer =
        framed ? sent.all.find(sent.replyEnd) != std::string::npos : !sent.all.empty();
    expect(channel.answered() == answer, "the bytes that answer an exchange raise the flag");
    expect(channel.answerIncomplete() == (!answer && !sent.all.empty()),
           "bytes without the reply end are an answer still incomplete");
    expect(counts.framedAnswers == (framed ? occurrences(sent.all, sent.replyEnd) : 0),
           "every reply end is counted once");
}

void exchange(Line& line, const ModuleBytes& sent) {
    ModuleChannel channel(line.comm);
    channel.setReplyEnd(sent.replyEnd);
    std::string received;
    std::int64_t deliveries = 0;
    channel.setOnReceived([&](const std::uint8_t* bytes, std::uint16_t length) {
        expect(length >= 1 && length <= TReadThread::kReadSize,
               "a delivery holds 1 to 4,096 bytes");
        expect(bytes[length] == 0, "a delivery's bytes are followed by a zero byte");
        received.append(reinterpret_cast<const char*>(bytes), length);
        ++deliveries;
    });
    channel.expectAnswer();
    for (const std::string_view piece : sent.pieces) {
        line.write(piece);
    }
    expect(line.dispatchUntil([&] { return received.size() >= sent.all.size(); }),
           "the module's bytes are delivered");
    expectAnswer(channel, sent, received, deliveries);
    if (sent.goesAway) {
        line.goAway();
        expect(line.dispatchUntil([&] { return channel.portLost(); }),
               "a module that goes away is noticed");
    }
}

} // namespace

void receiveModuleBytes(Input input) {
    const ModuleBytes sent = moduleBytes(input);
    std::unique_ptr<Line>& line = sharedLine();
    try {
        exchange(*line, sent);
    } catch (...) {
        line.reset();
        throw;
    }
    if (sent.goesAway) {
        line.reset();
    }
}

} // namespace lumivert::fuzz
