#include "inspect/dot_matrix.h"

#include <algorithm>

namespace lumivert {

bool DotMatrix::blank() const {
    return std::none_of(dots_.begin(), dots_.end(), [](bool dot) { return dot; });
}

DotMatrix unpackGlyph(std::span<const std::uint8_t> bytes, GlyphCell cell) {
    if (cell.byteCount() == 0) {
        return {};
    }
    const std::int32_t groups = cell.height / 8;
    DotMatrix dots(cell.width, groups * 8);
    for (std::int32_t x = 0; x < cell.width; ++x) {
        for (std::int32_t group = 0; group < groups; ++group) {
            const std::uint8_t byte =
                bytes[static_cast<std::size_t>(x) * static_cast<std::size_t>(groups) +
                      static_cast<std::size_t>(group)];
            for (int bit = 0; bit < 8; ++bit) {
                if ((byte >> bit & 1) != 0) {
                    dots.setInk(x, group * 8 + bit);
                }
            }
        }
    }
    return dots;
}

DotMatrix glyphAt(const FlashImage& image, std::int64_t offset, GlyphCell cell) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(cell.byteCount()));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::int64_t at = offset + static_cast<std::int64_t>(i);
        bytes[i] = at < kImageSize ? image.load(at) : kErased;
    }
    return unpackGlyph(bytes, cell);
}

} // namespace lumivert
