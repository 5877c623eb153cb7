#include "font/glyph_bitmap.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace lumivert {

void GlyphBitmap::setPixel(int x, int y, bool ink) {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) {
        return;
    }
    auto& byte = rows_[static_cast<std::size_t>(y * kPitch + x / 8)];
    const auto bit = static_cast<std::uint8_t>(0x80u >> (x % 8));
    byte = ink ? static_cast<std::uint8_t>(byte | bit) : static_cast<std::uint8_t>(byte & ~bit);
}

void GlyphBitmap::fill(int left, int top, int right, int bottom, bool ink) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, kSize);
    bottom = std::min(bottom, kSize);
    if (left >= right) {
        return;
    }
    // Whole bytes at once: a render clears almost the whole bitmap every time.
    const int firstByte = left / 8;
    const int lastByte = (right - 1) / 8;
    const auto headMask = static_cast<std::uint8_t>(0xFFu >> (left % 8));
    const auto tailMask = static_cast<std::uint8_t>(0xFFu << (7 - (right - 1) % 8));
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* row = rows_.data() + static_cast<std::ptrdiff_t>(y) * kPitch;
        for (int i = firstByte; i <= lastByte; ++i) {
            std::uint8_t mask = 0xFF;
            if (i == firstByte) {
                mask &= headMask;
            }
            if (i == lastByte) {
                mask &= tailMask;
            }
            row[i] = ink ? static_cast<std::uint8_t>(row[i] | mask)
                         : static_cast<std::uint8_t>(row[i] & ~mask);
        }
    }
}

void GlyphBitmap::drawLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    // The pixels run from the start towards the end point, which is left out; only the
    // part inside the bitmap is walked, however long the line.
    const auto span = [](std::int64_t from, std::int64_t to) {
        const std::int64_t last = to > from ? to - 1 : to + 1;
        return std::pair{std::max<std::int64_t>(std::min(from, last), 0),
                         std::min<std::int64_t>(std::max(from, last), kSize - 1)};
    };
    if (x0 == x1 && y0 != y1 && x0 >= 0 && x0 < kSize) {
        const auto [top, bottom] = span(y0, y1);
        for (auto y = top; y <= bottom; ++y) {
            setPixel(static_cast<int>(x0), static_cast<int>(y), true);
        }
    } else if (y0 == y1 && x0 != x1 && y0 >= 0 && y0 < kSize) {
        const auto [left, right] = span(x0, x1);
        for (auto x = left; x <= right; ++x) {
            setPixel(static_cast<int>(x), static_cast<int>(y0), true);
        }
    }
}

} // namespace lumivert
