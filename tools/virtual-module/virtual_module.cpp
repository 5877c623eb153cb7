#include "tools/virtual-module/virtual_module.h"

#include "common/binary_file.h"
#include "common/gbk.h"

#include <array>
#include <cerrno>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

namespace lumivert {
namespace {

using Clock = std::chrono::steady_clock;

void signalWake(int descriptor) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(descriptor, &one, sizeof one);
}

void drainWake(int descriptor) {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t ignored = ::read(descriptor, &count, sizeof count);
}

} // namespace

VirtualModule::VirtualModule(VirtualModuleOptions options) : options_(std::move(options)) {
    int line = -1;
    int terminal = -1;
    std::array<char, 256> name{};
    if (::openpty(&line, &terminal, name.data(), nullptr, nullptr) != 0) {
        throw std::runtime_error("cannot open a pseudo-terminal");
    }
    line_.reset(line);
    terminal_.reset(terminal);
    path_ = name.data();
    // Raw, as a serial line: no echo, no line editing, every byte as it is.
    termios settings{};
    ::tcgetattr(terminal, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(terminal, TCSANOW, &settings);
    wake_.reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!wake_) {
        throw std::runtime_error("cannot create an event descriptor");
    }
}

VirtualModule::~VirtualModule() {
    if (thread_.joinable()) {
        requestStop();
        thread_.join();
    }
}

void VirtualModule::start() {
    thread_ = std::thread([this] { serve(); });
}

void VirtualModule::serve() {
    try {
        serveUntilStopped();
    } catch (const std::exception& error) {
        reportProtocolError(std::string("the module stopped: ") + error.what());
    }
    saveFlash();
}

void VirtualModule::requestStop() {
    stopRequested_ = true;
    signalWake(wake_.get());
}

void VirtualModule::requestFlashSave() {
    saveRequested_ = true;
    signalWake(wake_.get());
}

std::vector<std::string> VirtualModule::commands() const {
    const std::lock_guard lock(mutex_);
    return protocol_.commands();
}

std::vector<std::int32_t> VirtualModule::blocks() const {
    const std::lock_guard lock(mutex_);
    return protocol_.blocks();
}

std::vector<std::string> VirtualModule::protocolErrors() const {
    const std::lock_guard lock(mutex_);
    return protocolErrors_;
}

std::vector<std::uint8_t> VirtualModule::flash() const {
    const std::lock_guard lock(mutex_);
    return protocol_.flash();
}

void VirtualModule::writeFlash(const std::filesystem::path& file) const {
    writeBinaryFile(file, flash());
    log("flash written to " + file.string());
}

void VirtualModule::saveFlash() const {
    if (options_.flashFile.empty()) {
        return;
    }
    try {
        writeFlash(options_.flashFile);
    } catch (const std::exception& error) {
        log(std::string("the flash was not written: ") + error.what());
    }
}

void VirtualModule::serveUntilStopped() {
    while (!stopRequested_) {
        std::array<pollfd, 2> watched{{{line_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}}};
        if (::poll(watched.data(), watched.size(), pollTimeout()) < 0 && errno != EINTR) {
            throw std::runtime_error("poll failed");
        }
        if ((watched[1].revents & POLLIN) != 0) {
            drainWake(wake_.get());
            if (saveRequested_.exchange(false)) {
                saveFlash();
            }
        }
        if ((watched[0].revents & POLLIN) != 0) {
            takeArrivedBytes();
        } else if ((watched[0].revents & (POLLHUP | POLLERR)) != 0) {
            throw std::runtime_error("the pseudo-terminal failed");
        }
        writeDuePieces();
    }
}

// Milliseconds until the next reply piece is due; -1 (no limit) when none is.
int VirtualModule::pollTimeout() const {
    if (pieces_.empty()) {
        return -1;
    }
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(pieces_.front().due - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

void VirtualModule::takeArrivedBytes() {
    std::array<std::uint8_t, 4096> bytes{};
    const ssize_t got = ::read(line_.get(), bytes.data(), bytes.size());
    if (got < 0) {
        if (errno == EINTR || errno == EAGAIN) {
            return;
        }
        throw std::runtime_error("reading the pseudo-terminal failed");
    }
    bool reported = false;
    for (ssize_t i = 0; i < got; ++i) {
        if (!pieces_.empty() && !reported) {
            reportProtocolError("bytes arrived before the reply to " +
                                gbkToUtf8(pieces_.front().answering) + " was written");
            reported = true;
        }
        std::optional<ModuleProtocol::Request> request;
        {
            const std::lock_guard lock(mutex_);
            request = protocol_.take(bytes[static_cast<std::size_t>(i)]);
        }
        if (request) {
            log(gbkToUtf8(request->answering));
            scheduleReply(request->answering);
        }
    }
}

void VirtualModule::scheduleReply(const std::string& answering) {
    if (options_.silent || options_.reply.empty()) {
        return;
    }
    const auto due = Clock::now() + options_.delay;
    if (!options_.splitPause || options_.reply.size() < 2) {
        pieces_.push_back({due, options_.reply, answering});
        return;
    }
    const std::size_t half = options_.reply.size() / 2;
    pieces_.push_back({due, options_.reply.substr(0, half), answering});
    pieces_.push_back({due + *options_.splitPause, options_.reply.substr(half), answering});
}

void VirtualModule::writeDuePieces() {
    while (!pieces_.empty() && pieces_.front().due <= Clock::now()) {
        writeToLine(pieces_.front().bytes);
        pieces_.pop_front();
    }
}

void VirtualModule::writeToLine(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(line_.get(), bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno != EINTR) {
            throw std::runtime_error("writing to the pseudo-terminal failed");
        }
        done += written > 0 ? static_cast<std::size_t>(written) : 0;
    }
}

void VirtualModule::reportProtocolError(const std::string& error) {
    {
        const std::lock_guard lock(mutex_);
        protocolErrors_.push_back(error);
    }
    if (options_.onProtocolError) {
        options_.onProtocolError(error);
    }
}

void VirtualModule::log(const std::string& line) const {
    if (options_.onLog) {
        options_.onLog(line);
    }
}

} // namespace lumivert
