#pragma once

#include <cstdint>
#include <vector>

namespace lumivert {

// The picture view is a 1500 x 1500 drawing surface; a picture is converted only when both
// its sides fit inside it with a pixel to spare.
inline constexpr int kPictureViewSide = 1500;
inline constexpr int kLargestPictureSide = kPictureViewSide - 1;

// A decoded picture: its size as the file's header gives it, and its pixels, 8 bits each of
// red, green and blue, row by row from the top. Only the part that falls on the picture view
// is kept, so a picture of 20,000 x 20,000 pixels costs no more memory than one of 1500 x 1500;
// a picture small enough to be converted is kept whole.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    int keptWidth = 0;
    int keptHeight = 0;
    std::vector<std::uint8_t> rgb; // keptHeight rows of keptWidth pixels, 3 bytes each

    bool isWhole() const { return keptWidth == width && keptHeight == height; }

    const std::uint8_t* pixel(int x, int y) const {
        return rgb.data() + (static_cast<std::size_t>(y) * keptWidth + x) * 3;
    }
};

} // namespace lumivert
