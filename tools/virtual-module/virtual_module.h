#pragma once

#include "common/unique_fd.h"
#include "tools/virtual-module/module_protocol.h"

#include <atomic>
#include <chrono>
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
// It keeps a descriptor of the terminal side open, in raw mode, so the workbench can close
// the port and open it again. It serves on its own thread after start(), or on the calling
// thread in serve(). The accessors may be called from any thread.
class VirtualModule {
public:
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

    std::vector<std::string> commands() const;
    std::vector<std::int32_t> blocks() const;
    std::vector<std::string> protocolErrors() const;
    std::vector<std::uint8_t> flash() const;
    void writeFlash(const std::filesystem::path& file) const;

private:
    struct ReplyPiece {
        std::chrono::steady_clock::time_point due;
        std::string bytes;
        std::string answering;
    };

    void serveUntilStopped();
    void saveFlash() const;
    void takeArrivedBytes();
    void scheduleReply(const std::string& answering);
    void writeDuePieces();
    void writeToLine(const std::string& bytes);
    void reportProtocolError(const std::string& error);
    void log(const std::string& line) const;
    int pollTimeout() const;

    VirtualModuleOptions options_;
    UniqueFd line_;     // the module's side
    UniqueFd terminal_; // kept open for the workbench's side
    UniqueFd wake_;     // eventfd: stop or save requested
    std::string path_;

    mutable std::mutex mutex_;
    ModuleProtocol protocol_;
    std::vector<std::string> protocolErrors_;

    std::deque<ReplyPiece> pieces_; // serving thread only
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> saveRequested_{false};
    std::thread thread_;
};

} // namespace lumivert
