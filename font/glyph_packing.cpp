#include "font/glyph_packing.h"

#include <algorithm>
#include <array>
#include <limits>

namespace lumivert {
namespace {

constexpr std::int32_t kClampedCursor = kImageSize - 99;

// The byte of cell column `column` (from 1) that holds the rows 8 * group + 1 onwards.
std::uint8_t packedByte(const GlyphBitmap& bitmap, std::int64_t column, std::int64_t group) {
    const std::int64_t firstRow = group * 8 + 1;
    if (column >= GlyphBitmap::kSize || firstRow >= GlyphBitmap::kSize) {
        return 0;
    }
    std::uint8_t byte = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (bitmap.ink(static_cast<int>(column), static_cast<int>(firstRow) + bit)) {
            byte = static_cast<std::uint8_t>(byte | (1u << bit));
        }
    }
    return byte;
}

// Fills `out` with the glyph bytes from byte `first` on.
void packRange(const GlyphBitmap& bitmap, GlyphCell cell, std::int64_t first,
               std::span<std::uint8_t> out) {
    const std::int64_t groups = cell.height / 8;
    std::int64_t column = first / groups + 1;
    std::int64_t group = first % groups;
    for (auto& byte : out) {
        byte = packedByte(bitmap, column, group);
        if (++group == groups) {
            group = 0;
            ++column;
        }
    }
}

} // namespace

std::vector<std::uint8_t> packGlyph(const GlyphBitmap& bitmap, GlyphCell cell) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(cell.byteCount()));
    if (!bytes.empty()) {
        packRange(bitmap, cell, 0, bytes);
    }
    return bytes;
}

std::int32_t clampWriteCursor(std::int32_t cursor) {
    if (cursor < 0) {
        return 0;
    }
    return cursor > kImageSize ? kClampedCursor : cursor;
}

std::int32_t storeGlyph(FlashImage& image, std::int32_t cursor, const GlyphBitmap& bitmap,
                        GlyphCell cell, bool store) {
    const std::int64_t total = cell.byteCount();
    if (store && cursor >= 0 && cursor < kImageSize) {
        const std::int64_t inside = std::min<std::int64_t>(total, kImageSize - cursor);
        std::array<std::uint8_t, 1024> chunk{};
        for (std::int64_t done = 0; done < inside;) {
            const auto length =
                static_cast<std::size_t>(std::min<std::int64_t>(chunk.size(), inside - done));
            const std::span part(chunk.data(), length);
            packRange(bitmap, cell, done, part);
            image.store(cursor + done, part);
            done += static_cast<std::int64_t>(length);
        }
    }
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{cursor} + total, std::numeric_limits<std::int32_t>::max()));
}

} // namespace lumivert
