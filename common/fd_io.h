#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

namespace lumivert {

// open(2) with O_CLOEXEC, retried when a signal interrupts it. Returns -1 with errno set.
int openRetrying(const char* path, int flags, mode_t mode = 0);

// Closes a descriptor that was written to. A close interrupted by a signal has still
// released the descriptor on Linux, so only other failures count. Returns false with errno set.
bool closeAfterWriting(int fd);

// Reads until `size` bytes are in or the file ends, retrying interrupted reads.
// Returns the number of bytes read, or -1 with errno set.
ssize_t readFully(int fd, std::uint8_t* data, std::size_t size);

// Writes all `size` bytes, retrying interrupted and short writes.
// Returns false with errno set when a write fails.
bool writeFully(int fd, const std::uint8_t* data, std::size_t size);

} // namespace lumivert
