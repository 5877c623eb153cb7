#include "font/glyph_bitmap.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

namespace lumivert {

void GlyphBitmap::setPixel(int x, int y, bool ink) {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) {
        return;
    }
    auto& byte = rows_[static_cast<std::size_t>(y) * kPitch + static_cast<std::size_t>(x / 8)];
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
    // A row at a time: a partial first byte, whole bytes, a partial last byte.
    const int firstByte = left / 8;
    const int lastByte = (right - 1) / 8;
    auto firstMask = static_cast<std::uint8_t>(0xFFu >> (left % 8));
    const auto lastMask = static_cast<std::uint8_t>(0xFFu << (7 - (right - 1) % 8));
    if (firstByte == lastByte) {
        firstMask &= lastMask;
    }
    const auto apply = [ink](std::uint8_t& byte, std::uint8_t mask) {
        byte =
            ink ? static_cast<std::uint8_t>(byte | mask) : static_cast<std::uint8_t>(byte & ~mask);
    };
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* row = rows_.data() + static_cast<std::ptrdiff_t>(y) * kPitch;
        apply(row[firstByte], firstMask);
        if (lastByte > firstByte) {
            std::memset(row + firstByte + 1, ink ? 0xFF : 0x00,
                        static_cast<std::size_t>(lastByte - firstByte - 1));
            apply(row[lastByte], lastMask);
        }
    }
}

void GlyphBitmap::clearInside() {
    for (int y = 1; y < kSize; ++y) {
        std::uint8_t* row = rows_.data() + static_cast<std::ptrdiff_t>(y) * kPitch;
        row[0] &= 0x80; // column 0 keeps its pixel
        std::memset(row + 1, 0, kPitch - 1);
    }
}

void GlyphBitmap::drawLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    // The pixels from the start towards the end point, which is left out, clipped to the
    // bitmap before anything is drawn, however long the line.
    const auto span = [](std::int64_t from, std::int64_t to) {
        const std::int64_t last = to > from ? to - 1 : to + 1;
        return std::pair{
            static_cast<int>(std::clamp<std::int64_t>(std::min(from, last), -1, kSize)),
            static_cast<int>(std::clamp<std::int64_t>(std::max(from, last), -1, kSize)) + 1};
    };
    if (x0 == x1 && y0 != y1 && x0 >= 0 && x0 < kSize) {
        const auto [top, bottom] = span(y0, y1);
        fill(static_cast<int>(x0), top, static_cast<int>(x0) + 1, bottom, true);
    } else if (y0 == y1 && x0 != x1 && y0 >= 0 && y0 < kSize) {
        const auto [left, right] = span(x0, x1);
        fill(left, static_cast<int>(y0), right, static_cast<int>(y0) + 1, true);
    }
}

} // namespace lumivert
