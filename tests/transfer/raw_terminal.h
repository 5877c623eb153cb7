#pragma once

#include "common/unique_fd.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace lumivert::testing {

// The workbench's side of the line, opened by the test itself.
class RawTerminal {
public:
    explicit RawTerminal(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios settings{};
        ::tcgetattr(fd_.get(), &settings);
        ::cfmakeraw(&settings);
        ::tcsetattr(fd_.get(), TCSANOW, &settings);
    }

    void write(const std::string& bytes) const {
        ASSERT_EQ(::write(fd_.get(), bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }

    std::string read(std::size_t count, std::chrono::milliseconds timeout) const {
        std::string bytes;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd entry{fd_.get(), POLLIN, 0};
            if (::poll(&entry, 1, 10) > 0) {
                char chunk[256];
                const ssize_t got = ::read(fd_.get(), chunk, sizeof chunk);
                bytes.append(chunk, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
            }
        }
        return bytes;
    }

private:
    UniqueFd fd_;
};

} // namespace lumivert::testing
