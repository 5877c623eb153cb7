#include "tests/serial/pty_pair.h"

#include <cerrno>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace lumivert::testing {

PtyPair::PtyPair() {
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

void PtyPair::send(const std::vector<std::uint8_t>& bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(peer_.get(), bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno != EINTR) {
            throw std::runtime_error("writing to the pseudo-terminal failed");
        }
        done += written > 0 ? static_cast<std::size_t>(written) : 0;
    }
}

void PtyPair::send(const std::string& text) const {
    send(std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> PtyPair::receive(std::size_t count,
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
