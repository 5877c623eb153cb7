#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace lumivert {

// The picture view is a 1500 x 1500 drawing surface; a picture is converted only when both
// its sides fit inside it with a pixel to spare.
inline constexpr int kPictureViewSide = 1500;
inline constexpr int kLargestPictureSide = kPictureViewSide - 1;

// Leaves the bytes of a resized buffer as they come: the decoder writes every one of them, and
// clearing several megabytes first would cost as much as walking them.
template <typename T> struct UninitialisedAllocator : std::allocator<T> {
    template <typename U> struct rebind { using other = UninitialisedAllocator<U>; };
    template <typename U> void construct(U* place) noexcept { ::new (static_cast<void*>(place)) U; }
    template <typename U, typename... Args> void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};

using PixelBytes = std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>>;

// A decoded picture: its size as the file's header gives it, and its pixels, 8 bits each of
// red, green and blue and one unused byte, row by row from the top. A picture small enough to be
// converted is kept whole; a larger one keeps no pixels at all (keptWidth and keptHeight 0), so
// a picture of 20,000 x 20,000 pixels costs no more than reading its header.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    int keptWidth = 0;
    int keptHeight = 0;
    PixelBytes rgbx; // keptHeight rows of keptWidth pixels, 4 bytes each

    bool isWhole() const { return keptWidth == width && keptHeight == height; }

    // Red, green and blue of the pixel in column x, row y.
    const std::uint8_t* pixel(int x, int y) const {
        return rgbx.data() + (static_cast<std::size_t>(y) * keptWidth + x) * kBytesPerPixel;
    }

    static constexpr int kBytesPerPixel = 4;
};

} // namespace lumivert
