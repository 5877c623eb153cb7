#pragma once

#include <cstddef>
#include <cstdint>

namespace lumivert {

// Sizes of the module's serial flash and of the units it is handled in.
inline constexpr std::int32_t kImageSize = 0x200000;             // bytes of flash the module has
inline constexpr std::int32_t kImageBufferSize = kImageSize + 1; // plus one spare byte
inline constexpr std::int32_t kFlashPageSize = 256;
inline constexpr std::int32_t kFlashBlockSize = 1024; // the unit of upload: four FlashPages
inline constexpr std::int32_t kSectorSize = 4096;     // sixteen FlashPages
inline constexpr std::int32_t kPagesPerBlock = kFlashBlockSize / kFlashPageSize;
inline constexpr std::int32_t kPagesPerSector = kSectorSize / kFlashPageSize;
inline constexpr std::int32_t kImagePages = kImageSize / kFlashPageSize;
inline constexpr std::uint8_t kErased = 0xFF; // an empty flash byte

} // namespace lumivert
