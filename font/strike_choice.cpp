#include "font/strike_choice.h"

#include <cstdlib>

namespace lumivert {
namespace {

constexpr std::int64_t kDefaultHeight = 16;

} // namespace

std::size_t chooseStrike(std::span<const BitmapStrike> strikes, std::int32_t height) {
    const std::int64_t wanted = height == 0 ? kDefaultHeight : std::llabs(std::int64_t{height});
    std::size_t fitting = strikes.size();
    std::size_t smallest = 0;
    for (std::size_t i = 0; i < strikes.size(); ++i) {
        const std::int32_t size = strikes[i].pixelSize;
        if (size <= wanted && (fitting == strikes.size() || size > strikes[fitting].pixelSize)) {
            fitting = i;
        }
        if (size < strikes[smallest].pixelSize) {
            smallest = i;
        }
    }
    return fitting != strikes.size() ? fitting : smallest;
}

} // namespace lumivert
