#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace lumivert {

// Bytes that cross from one thread to another: a fresh zero-filled allocation of size + 1
// bytes, the bytes followed by one zero byte. It has one owner at a time and moves with the
// message that carries it; whoever holds it last releases it.
class DataBlock {
public:
    DataBlock() = default;

    // A block holding a copy of `size` bytes at `data`. Throws std::bad_alloc.
    static DataBlock copyOf(const std::uint8_t* data, std::size_t size) {
        DataBlock block;
        block.bytes_.reset(new std::uint8_t[size + 1]());
        block.size_ = size;
        std::copy(data, data + size, block.bytes_.get());
        return block;
    }

    const std::uint8_t* data() const { return bytes_.get(); }
    std::size_t size() const { return size_; }

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
    std::size_t size_ = 0;
};

} // namespace lumivert
