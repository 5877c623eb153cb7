#pragma once

#include "picture/rgb565.h"

#include <cstdint>
#include <vector>

namespace lumivert {

// An RGB picture, 8 bits a channel, rows from the top, for the contact sheets.
class Raster {
public:
    Raster(int width, int height, Rgb background);

    int width() const { return width_; }
    int height() const { return height_; }

    Rgb at(int x, int y) const;
    // Sets the pixels of the rectangle that lie inside the raster.
    void fill(int left, int top, int width, int height, Rgb colour);

    // Three bytes a pixel, red first.
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> bytes_;
};

} // namespace lumivert
