#include "picture/dithering.h"

#include "picture/rgb565.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace lumivert {
namespace {

constexpr int kChannels = 3;
constexpr std::array<int, kChannels> kLevelBits{5, 6, 5};

// The nearest level of `bits` bits to `value` and the 8-bit value it stands for.
struct Level {
    int level;
    float value;
};

Level nearestLevel(float value, int bits) {
    const int top = (1 << bits) - 1;
    const float clamped = std::clamp(value, 0.0F, 255.0F);
    int best = std::clamp(static_cast<int>(std::lround(clamped * static_cast<float>(top) / 255.0F)),
                          0, top);
    float bestValue = expandedLevel(best, bits);
    for (const int neighbour : {best - 1, best + 1}) {
        if (neighbour < 0 || neighbour > top) {
            continue;
        }
        const float candidate = expandedLevel(neighbour, bits);
        if (std::abs(candidate - clamped) < std::abs(bestValue - clamped)) {
            best = neighbour;
            bestValue = candidate;
        }
    }
    return {best, bestValue};
}

// The errors passed on to one row, per pixel and channel, with a pixel to spare at each end.
class ErrorRow {
public:
    explicit ErrorRow(int width) : errors_(static_cast<std::size_t>(width + 2) * kChannels, 0.0F) {}

    float& at(int x, int channel) {
        return errors_[static_cast<std::size_t>(x + 1) * kChannels +
                       static_cast<std::size_t>(channel)];
    }
    void clear() { std::fill(errors_.begin(), errors_.end(), 0.0F); }

private:
    std::vector<float> errors_;
};

} // namespace

void ditherToRgb565(DecodedPicture& picture) {
    ErrorRow current(picture.keptWidth);
    ErrorRow below(picture.keptWidth);
    for (int y = 0; y < picture.keptHeight; ++y) {
        for (int x = 0; x < picture.keptWidth; ++x) {
            std::uint8_t* pixel =
                picture.rgbx.data() +
                (static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.keptWidth) +
                 static_cast<std::size_t>(x)) *
                    DecodedPicture::kBytesPerPixel;
            for (int channel = 0; channel < kChannels; ++channel) {
                const float wanted = static_cast<float>(pixel[channel]) + current.at(x, channel);
                const Level level =
                    nearestLevel(wanted, kLevelBits[static_cast<std::size_t>(channel)]);
                pixel[channel] = static_cast<std::uint8_t>(level.value);
                const float error = wanted - level.value;
                current.at(x + 1, channel) += error * 7 / 16;
                below.at(x - 1, channel) += error * 3 / 16;
                below.at(x, channel) += error * 5 / 16;
                below.at(x + 1, channel) += error / 16;
            }
        }
        std::swap(current, below);
        below.clear();
    }
}

} // namespace lumivert
