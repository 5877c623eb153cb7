#pragma once

#include "picture/decoded_picture.h"

#include <cstdint>

namespace lumivert {

// The side of a tile that the pixel walk converts at once.
inline constexpr int kTileSide = 8;

// Converts the 8 x 8 pixels whose top-left corner is (x, y) into the module's bytes, turned
// from rows into columns: column k of the tile (x + k) gets its 8 pixels from the top, 2 bytes
// each, high byte first, at columns[k]. Works on 8 pixels at a time.
void convertTile(const DecodedPicture& picture, int x, int y,
                 std::uint8_t* const columns[kTileSide]);

} // namespace lumivert
