#pragma once

#include "common/unique_fd.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <string>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace lumivert::testing {

// A pseudo-terminal standing in for a serial line: the component opens the terminal side
// by its path, the test plays the device on the other side (the peer). The pair keeps a
// descriptor of the terminal side open too, in raw mode, as a device driver would keep the
// line, so the component can close and reopen it.
class PtyPair {
public:
    PtyPair();

    const std::string& path() const { return path_; }
    int peer() const { return peer_.get(); }
    int terminal() const { return terminal_.get(); }

    // Writes all of `bytes` from the peer's side.
    void send(const std::vector<std::uint8_t>& bytes) const;
    void send(const std::string& text) const;

    // What the peer reads within `timeout`: stops early once `count` bytes are in.
    std::vector<std::uint8_t> receive(std::size_t count, std::chrono::milliseconds timeout) const;

    // How many bytes wait for the peer to read them now.
    int waitingBytes() const {
        int count = 0;
        return ::ioctl(peer_.get(), FIONREAD, &count) == 0 ? count : -1;
    }

    // How many bytes the peer sent that wait for the terminal side to read them now.
    int unreadBytes() const {
        int count = 0;
        return ::ioctl(terminal_.get(), FIONREAD, &count) == 0 ? count : -1;
    }

    // Waits until the terminal side (the port that has it open) has read everything the peer
    // sent; false when `most` passes first.
    bool waitUntilRead(std::chrono::milliseconds most) const;

    // The peer goes away, as a device that is unplugged.
    void closePeer() { peer_.reset(); }

private:
    UniqueFd peer_;
    UniqueFd terminal_;
    std::string path_;
};

inline PtyPair::PtyPair() {
    int peer = -1;
    int terminal = -1;
    std::vector<char> name(256);
    if (::openpty(&peer, &terminal, name.data(), nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    peer_.reset(peer);
    terminal_.reset(terminal);
    path_ = name.data();
    termios line{};
    ::tcgetattr(terminal, &line);
    ::cfmakeraw(&line);
    ::tcsetattr(terminal, TCSANOW, &line);
}

inline void PtyPair::send(const std::vector<std::uint8_t>& bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(peer_.get(), bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno != EINTR) {
            throw std::runtime_error("writing to the pseudo-terminal failed");
        }
        done += written > 0 ? static_cast<std::size_t>(written) : 0;
    }
}

inline void PtyPair::send(const std::string& text) const {
    send(std::vector<std::uint8_t>(text.begin(), text.end()));
}

inline bool PtyPair::waitUntilRead(std::chrono::milliseconds most) const {
    const auto end = std::chrono::steady_clock::now() + most;
    while (unreadBytes() > 0) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

inline std::vector<std::uint8_t> PtyPair::receive(std::size_t count,
                                                  std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> chunk(65536);
    while (bytes.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd entry{peer_.get(), POLLIN, 0};
        if (::poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        const ssize_t got = ::read(peer_.get(), chunk.data(), chunk.size());
        if (got <= 0) {
            break;
        }
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
    }
    return bytes;
}

} // namespace lumivert::testing
