#pragma once

#include "common/unique_fd.h"
#include "tools/virtual-module/module_protocol.h"
#include "tools/virtual-module/paced_line.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace lumivert {

struct VirtualModuleOptions {
    std::string reply = "OK\r\n";
    // Before each reply.
    std::chrono::milliseconds delay{0};
    // When set, each reply goes in two pieces (its first half, then the rest) this far apart.
    std::optional<std::chrono::milliseconds> splitPause;
    // Never replies.
    bool silent = false;
    // When set, replies to the data of this many blocks, and to the commands up to the data
    // of the next block, which it takes into its flash without a reply; then it replies to
    // nothing until answerAgain() (it still takes in what arrives), as a module that stops
    // answering half-way through an upload.
    std::optional<std::size_t> answeredBlocks;
    // When set, the line's rate (8N1, 10 bits a byte): the module takes in bytes no faster
    // than the line would bring them, and its replies leave no faster than the line carries
    // them. None: as fast as the pseudo-terminal goes.
    std::optional<std::uint32_t> baud;
    // The first block of each 4,096-byte Sector erases that Sector first (module_protocol.h).
    bool eraseSectors = false;
    // Where the flash goes on request and when serving ends; none: nowhere.
    std::filesystem::path flashFile;
    // Told each command and each block received, and where the flash was written (UTF-8),
    // on the serving thread.
    std::function<void(const std::string&)> onLog;
    // Told each protocol error, on the serving thread.
    std::function<void(const std::string&)> onProtocolError;
};

// A stand-in for the display module on a pseudo-terminal. The workbench opens the terminal
// side by its path() as it would open a serial port; the module plays the device on the
// other side (module_protocol.h), answering every command and every data block with the
// reply, and reports a protocol error when bytes arrive while a reply of its own is still
// due: data before the reply to their block command was written, a command before the reply
// to the one before.
//
// Paced to a line rate, it reads from the pseudo-terminal only the bytes whose line time has
// passed since the line became free, a millisecond's worth or so at a time; the rest wait in
// the terminal's buffer, so a sender that runs ahead fills it as it would fill a slow serial
// line. A reply sets off once its request has arrived (plus the delay) and the reply before
// it has gone.
//
// It keeps a descriptor of the terminal side open, in raw mode, so the workbench can close
// the port and open it again. It serves on its own thread after start(), or on the calling
// thread in serve(). The accessors may be called from any thread.
class VirtualModule {
public:
    struct Counts {
        std::size_t commands = 0;
        std::size_t blocks = 0;
        std::size_t protocolErrors = 0;
    };

    explicit VirtualModule(VirtualModuleOptions options = {});
    // Stops serving, as requestStop() does, and waits for the end.
    ~VirtualModule();
    VirtualModule(const VirtualModule&) = delete;
    VirtualModule& operator=(const VirtualModule&) = delete;

    // The terminal side's device path.
    const std::string& path() const { return path_; }

    // Serves on a thread of its own.
    void start();
    // Serves on this thread until requestStop(); then writes the flash file when one is set.
    void serve();

    // Both may be called from a signal handler.
    void requestStop();
    void requestFlashSave();

    // The far end of the line goes away, as an unplugged adapter does: the module closes its
    // side of the pseudo-terminal and its own descriptor of the terminal side, so a port open
    // on it sees a hang-up and the terminal's path is gone, and it stops serving. After
    // start(), it waits for the serving thread to end; without it, the module must not be
    // serving on another thread.
    void hangUp();

    // Lifts the silence after `answeredBlocks`: from now on every request is answered.
    void answerAgain() { answerAgain_ = true; }

    std::vector<std::string> commands() const;
    std::vector<std::int32_t> blocks() const;
    std::vector<std::string> protocolErrors() const;
    Counts counts() const;
    // Blocks the calling thread until `done` holds for the counts, or `most` has passed;
    // returns whether it holds. For a test that waits for the module to have received
    // something.
    bool waitForCounts(const std::function<bool(const Counts&)>& done,
                       std::chrono::milliseconds most) const;
    // The counts, as the program reports them at its end:
    // "12 commands, 10 blocks, 0 protocol errors".
    std::string summary() const;
    std::vector<std::uint8_t> flash() const;
    void writeFlash(const std::filesystem::path& file) const;

private:
    using Clock = std::chrono::steady_clock;

    struct ReplyPiece {
        Clock::time_point due;
        std::string bytes;
        std::string answering;
        std::uint64_t reply = 0; // which reply it belongs to: 1, 2, ...
        std::size_t written = 0;
    };

    void serveUntilStopped();
    bool waitForWork();
    std::optional<Clock::time_point> nextWake() const;
    void saveFlash() const;
    void closeLine();
    void takeArrivedBytes();
    void noticeArrivingBytes();
    void takePacedBytes();
    std::size_t waitingBytes() const;
    void waitForMoreBytes();
    void takeByte(std::uint8_t byte, Clock::time_point arrived);
    bool answers(bool block);
    Counts countsHeld() const; // with mutex_ held
    void scheduleReply(const std::string& answering, Clock::time_point received);
    void writeDuePieces();
    bool writeFrontPiece(Clock::time_point now);
    void writeToLine(const char* bytes, std::size_t count);
    void reportProtocolError(const std::string& error);
    void log(const std::string& line) const;

    VirtualModuleOptions options_;
    UniqueFd line_;     // the module's side
    UniqueFd terminal_; // kept open for the workbench's side
    UniqueFd wake_;     // eventfd: stop or save requested
    std::string path_;

    mutable std::mutex mutex_;
    mutable std::condition_variable countsChanged_;
    ModuleProtocol protocol_;
    std::vector<std::string> protocolErrors_;

    // Serving thread only.
    std::deque<ReplyPiece> pieces_;
    Clock::time_point nextWrite_;       // when the front piece writes on, when pieces wait
    std::uint64_t replies_ = 0;         // replies scheduled so far
    std::uint64_t reportedReply_ = 0;   // the last reply that bytes were reported to come before
    std::optional<PacedLine> inbound_;  // when paced: the line from the workbench
    std::optional<PacedLine> outbound_; // when paced: the line to the workbench
    bool bytesWaiting_ = false;         // when paced: bytes wait in the terminal's buffer
    Clock::time_point nextTake_;        // when paced and bytes wait: when to take more
    std::size_t blocksAnswered_ = 0;    // blocks whose data was answered
    bool fellSilent_ = false;           // after answeredBlocks

    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> saveRequested_{false};
    std::atomic<bool> hangUpRequested_{false};
    std::atomic<bool> answerAgain_{false};
    std::thread thread_;
};

} // namespace lumivert
