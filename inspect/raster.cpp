#include "inspect/raster.h"

#include <algorithm>

namespace lumivert {

Raster::Raster(int width, int height, Rgb background)
    : width_(width), height_(height),
      bytes_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
    fill(0, 0, width, height, background);
}

Rgb Raster::at(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                           static_cast<std::size_t>(x)) *
                          3;
    return {bytes_[i], bytes_[i + 1], bytes_[i + 2]};
}

void Raster::fill(int left, int top, int width, int height, Rgb colour) {
    const int x0 = std::max(left, 0);
    const int x1 = std::min(left + width, width_);
    for (int y = std::max(top, 0); y < std::min(top + height, height_); ++y) {
        for (int x = x0; x < x1; ++x) {
            const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                   static_cast<std::size_t>(x)) *
                                  3;
            bytes_[i] = colour.red;
            bytes_[i + 1] = colour.green;
            bytes_[i + 2] = colour.blue;
        }
    }
}

} // namespace lumivert
