#pragma once

#include "image/flash_layout.h"

#include <cstdint>
#include <memory>
#include <span>

namespace lumivert {

// The workbench's copy of the module's flash: 2,097,152 bytes at the module's own addresses,
// plus one spare byte that belongs to no region. One fixed buffer, never reallocated.
class FlashImage {
public:
    FlashImage();

    // Sets every byte, the spare one included, to 0xFF.
    void fill();

    // The one store every writer goes through. A byte at or past 0x200000, or below 0,
    // is dropped; the result says whether it was stored.
    bool store(std::int64_t offset, std::uint8_t value);

    // Stores a run of bytes from offset on, dropping what falls outside the image.
    // Returns the number of bytes stored.
    std::int64_t store(std::int64_t offset, std::span<const std::uint8_t> bytes);

    // A byte of the buffer, the spare byte included. Offsets outside it read as 0xFF.
    std::uint8_t load(std::int64_t offset) const;

    // Copies the FlashBlock that starts at FlashPage `page`; bytes outside the image read 0xFF.
    void loadBlock(std::int32_t page, std::span<std::uint8_t, kFlashBlockSize> out) const;

    // Whether every byte of [offset, offset + length) below 0x200000 is 0xFF. Bytes at or
    // past 0x200000 count as 0xFF: the spare byte is never examined.
    bool isErased(std::int64_t offset, std::int64_t length) const;

    // The 2,097,152 image bytes, the spare byte excluded.
    std::span<const std::uint8_t, kImageSize> image() const;
    std::span<std::uint8_t, kImageSize> image();

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
};

} // namespace lumivert
