#pragma once

#include "common/unique_fd.h"

#include <chrono>
#include <cstdint>
#include <string>
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

    // The peer goes away, as a device that is unplugged.
    void closePeer() { peer_.reset(); }

private:
    UniqueFd peer_;
    UniqueFd terminal_;
    std::string path_;
};

} // namespace lumivert::testing
