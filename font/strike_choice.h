#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace lumivert {

// One bitmap strike of a face made of bitmaps alone: the file of the face's family that holds
// it, its place among that file's strikes, and its size in pixels to the em.
struct BitmapStrike {
    std::size_t file = 0;
    int index = 0;
    std::int32_t pixelSize = 0;
};

// The strike the old platform drew a bitmap face with for a font height: the largest that
// does not exceed the height asked for (a negative height asks for its magnitude, 0 for 16),
// else the smallest. Of strikes of the same size, the first. `strikes` must not be empty.
std::size_t chooseStrike(std::span<const BitmapStrike> strikes, std::int32_t height);

} // namespace lumivert
