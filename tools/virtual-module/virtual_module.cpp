#include "tools/virtual-module/virtual_module.h"

#include "common/binary_file.h"
#include "common/gbk.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace lumivert {
namespace {

void signalWake(int descriptor) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(descriptor, &one, sizeof one);
}

void drainWake(int descriptor) {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t ignored = ::read(descriptor, &count, sizeof count);
}

std::string counted(std::size_t count, const std::string& thing) {
    return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

} // namespace

VirtualModule::VirtualModule(VirtualModuleOptions options)
    : options_(std::move(options)), protocol_(options_.eraseSectors) {
    if (options_.baud) {
        inbound_.emplace(*options_.baud);
        outbound_.emplace(*options_.baud);
    }
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

void VirtualModule::hangUp() {
    if (thread_.joinable()) {
        hangUpRequested_ = true;
        signalWake(wake_.get());
        thread_.join();
    }
    // Also when serving had ended before.
    closeLine();
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

VirtualModule::Counts VirtualModule::counts() const {
    const std::lock_guard lock(mutex_);
    return countsHeld();
}

VirtualModule::Counts VirtualModule::countsHeld() const {
    return {protocol_.commands().size(), protocol_.blocks().size(), protocolErrors_.size()};
}

bool VirtualModule::waitForCounts(const std::function<bool(const Counts&)>& done,
                                  std::chrono::milliseconds most) const {
    std::unique_lock lock(mutex_);
    return countsChanged_.wait_for(lock, most, [&] { return done(countsHeld()); });
}

std::string VirtualModule::summary() const {
    const Counts now = counts();
    return counted(now.commands, "command") + ", " + counted(now.blocks, "block") + ", " +
           counted(now.protocolErrors, "protocol error");
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

void VirtualModule::closeLine() {
    pieces_.clear();
    bytesWaiting_ = false;
    line_.reset();
    terminal_.reset();
}

void VirtualModule::serveUntilStopped() {
    while (!stopRequested_) {
        if (hangUpRequested_) {
            closeLine();
            return;
        }
        if (waitForWork()) {
            if (inbound_) {
                noticeArrivingBytes();
            } else {
                takeArrivedBytes();
            }
        }
        if (bytesWaiting_ && Clock::now() >= nextTake_) {
            takePacedBytes();
        }
        writeDuePieces();
    }
}

// Waits for bytes on the line, a request or the next thing due; returns whether bytes that
// were not known to wait arrived.
bool VirtualModule::waitForWork() {
    // While paced bytes wait, the line stays readable: their time is what is waited for.
    const short lineEvents = bytesWaiting_ ? 0 : POLLIN;
    std::array<pollfd, 2> watched{{{line_.get(), lineEvents, 0}, {wake_.get(), POLLIN, 0}}};
    const auto wake = nextWake();
    timespec left{};
    if (wake) {
        const auto wait = std::max(Clock::duration::zero(), *wake - Clock::now());
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait);
        left.tv_sec = static_cast<time_t>(seconds.count());
        left.tv_nsec = static_cast<long>(
            std::chrono::duration_cast<std::chrono::nanoseconds>(wait - seconds).count());
    }
    // ppoll: a wake-up to the nanosecond, where poll() would round to milliseconds.
    if (::ppoll(watched.data(), watched.size(), wake ? &left : nullptr, nullptr) < 0) {
        if (errno == EINTR) {
            return false;
        }
        throw std::runtime_error("poll failed");
    }
    if ((watched[1].revents & POLLIN) != 0) {
        drainWake(wake_.get());
        if (saveRequested_.exchange(false)) {
            saveFlash();
        }
    }
    if ((watched[0].revents & POLLIN) != 0) {
        return true;
    }
    if ((watched[0].revents & (POLLHUP | POLLERR)) != 0) {
        throw std::runtime_error("the pseudo-terminal failed");
    }
    return false;
}

// The earliest of: the next paced bytes due to arrive, the next reply bytes due to leave.
std::optional<VirtualModule::Clock::time_point> VirtualModule::nextWake() const {
    std::optional<Clock::time_point> wake;
    if (bytesWaiting_) {
        wake = nextTake_;
    }
    if (!pieces_.empty()) {
        wake = wake ? std::min(*wake, nextWrite_) : nextWrite_;
    }
    return wake;
}

// Unpaced: takes whatever the terminal holds, all arrived now.
void VirtualModule::takeArrivedBytes() {
    std::array<std::uint8_t, 4096> bytes{};
    const ssize_t got = ::read(line_.get(), bytes.data(), bytes.size());
    if (got < 0) {
        if (errno == EINTR || errno == EAGAIN) {
            return;
        }
        throw std::runtime_error("reading the pseudo-terminal failed");
    }
    const auto now = Clock::now();
    for (ssize_t i = 0; i < got; ++i) {
        takeByte(bytes[static_cast<std::size_t>(i)], now);
    }
}

// Paced: bytes appeared on an idle line; they start arriving now.
void VirtualModule::noticeArrivingBytes() {
    inbound_->startAt(Clock::now());
    waitForMoreBytes();
}

// Paced: takes the waiting bytes whose line time has passed.
void VirtualModule::takePacedBytes() {
    std::array<std::uint8_t, 4096> bytes{};
    const std::size_t due =
        inbound_->arrivedBy(Clock::now(), std::min(waitingBytes(), bytes.size()));
    const ssize_t got = due == 0 ? 0 : ::read(line_.get(), bytes.data(), due);
    if (got < 0 && errno != EINTR && errno != EAGAIN) {
        throw std::runtime_error("reading the pseudo-terminal failed");
    }
    for (ssize_t i = 0; i < got; ++i) {
        const auto arrived = inbound_->arrivalOf(1);
        inbound_->pass(1);
        takeByte(bytes[static_cast<std::size_t>(i)], arrived);
    }
    waitForMoreBytes();
}

// Paced: sets when to take bytes next, if any wait.
void VirtualModule::waitForMoreBytes() {
    const std::size_t waiting = waitingBytes();
    bytesWaiting_ = waiting > 0;
    if (bytesWaiting_) {
        nextTake_ = inbound_->arrivalOf(std::min(waiting, inbound_->bytesPerWake()));
    }
}

// How many bytes the terminal's buffer holds for the module.
std::size_t VirtualModule::waitingBytes() const {
    int count = 0;
    if (::ioctl(line_.get(), FIONREAD, &count) != 0) {
        throw std::runtime_error("the pseudo-terminal cannot say what it holds");
    }
    return static_cast<std::size_t>(std::max(count, 0));
}

void VirtualModule::takeByte(std::uint8_t byte, Clock::time_point arrived) {
    if (!pieces_.empty() && pieces_.front().reply != reportedReply_) {
        reportedReply_ = pieces_.front().reply;
        reportProtocolError("bytes arrived before the reply to " +
                            gbkToUtf8(pieces_.front().answering) + " was written");
    }
    std::optional<ModuleProtocol::Request> request;
    bool block = false;
    {
        const std::lock_guard lock(mutex_);
        const std::size_t blocksBefore = protocol_.blocks().size();
        request = protocol_.take(byte);
        block = protocol_.blocks().size() > blocksBefore;
    }
    if (request) {
        countsChanged_.notify_all();
    }
    if (request) {
        log(gbkToUtf8(request->answering));
        if (answers(block)) {
            scheduleReply(request->answering, arrived);
        }
    }
}

// Whether the request just taken in is answered; `block`: it is a block's data.
bool VirtualModule::answers(bool block) {
    if (answerAgain_ || !options_.answeredBlocks) {
        return true;
    }
    if (block && blocksAnswered_ >= *options_.answeredBlocks) {
        fellSilent_ = true;
    }
    blocksAnswered_ += block ? 1 : 0;
    return !fellSilent_;
}

void VirtualModule::scheduleReply(const std::string& answering, Clock::time_point received) {
    if (options_.silent || options_.reply.empty()) {
        return;
    }
    const auto due = received + options_.delay;
    const std::uint64_t reply = ++replies_;
    if (pieces_.empty()) {
        nextWrite_ = due;
    }
    if (!options_.splitPause || options_.reply.size() < 2) {
        pieces_.push_back({due, options_.reply, answering, reply});
        return;
    }
    const std::size_t half = options_.reply.size() / 2;
    pieces_.push_back({due, options_.reply.substr(0, half), answering, reply});
    pieces_.push_back({due + *options_.splitPause, options_.reply.substr(half), answering, reply});
}

void VirtualModule::writeDuePieces() {
    const auto now = Clock::now();
    while (!pieces_.empty() && writeFrontPiece(now)) {
        pieces_.pop_front();
        if (!pieces_.empty()) {
            nextWrite_ = pieces_.front().due;
        }
    }
}

// Writes what is due of the front piece; returns whether all of it has been written. When
// not, nextWrite_ says when it goes on.
bool VirtualModule::writeFrontPiece(Clock::time_point now) {
    ReplyPiece& piece = pieces_.front();
    if (!outbound_) {
        if (piece.due > now) {
            return false;
        }
        writeToLine(piece.bytes.data(), piece.bytes.size());
        return true;
    }
    outbound_->startAt(piece.due);
    const std::size_t left = piece.bytes.size() - piece.written;
    const std::size_t due = outbound_->arrivedBy(now, left);
    writeToLine(piece.bytes.data() + piece.written, due);
    outbound_->pass(due);
    piece.written += due;
    if (due == left) {
        return true;
    }
    nextWrite_ = outbound_->arrivalOf(std::min(left - due, outbound_->bytesPerWake()));
    return false;
}

void VirtualModule::writeToLine(const char* bytes, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t written = ::write(line_.get(), bytes + done, count - done);
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
    countsChanged_.notify_all();
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
