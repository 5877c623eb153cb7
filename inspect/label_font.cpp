#include "inspect/label_font.h"

#include <array>
#include <cstdint>

namespace lumivert {
namespace {

constexpr int kGlyphWidth = 3;

// Five rows of three dots each, the leftmost dot in bit 2.
using LabelGlyph = std::array<std::uint8_t, kLabelHeight>;

constexpr std::array<LabelGlyph, 10> kDigits{{
    {7, 5, 5, 5, 7},
    {2, 6, 2, 2, 7},
    {7, 1, 7, 4, 7},
    {7, 1, 7, 1, 7},
    {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7},
    {7, 4, 7, 5, 7},
    {7, 1, 1, 1, 1},
    {7, 5, 7, 5, 7},
    {7, 5, 7, 1, 7},
}};

constexpr std::array<LabelGlyph, 26> kLetters{{
    {2, 5, 7, 5, 5}, {6, 5, 6, 5, 6}, {3, 4, 4, 4, 3}, {6, 5, 5, 5, 6}, {7, 4, 6, 4, 7},
    {7, 4, 6, 4, 4}, {3, 4, 5, 5, 3}, {5, 5, 7, 5, 5}, {7, 2, 2, 2, 7}, {1, 1, 1, 5, 2},
    {5, 5, 6, 5, 5}, {4, 4, 4, 4, 7}, {5, 7, 7, 5, 5}, {6, 5, 5, 5, 5}, {2, 5, 5, 5, 2},
    {6, 5, 6, 4, 4}, {2, 5, 5, 6, 3}, {6, 5, 6, 5, 5}, {3, 4, 2, 1, 6}, {7, 2, 2, 2, 2},
    {5, 5, 5, 5, 7}, {5, 5, 5, 5, 2}, {5, 5, 7, 7, 5}, {5, 5, 2, 5, 5}, {5, 5, 2, 2, 2},
    {7, 1, 2, 4, 7},
}};

constexpr LabelGlyph kBlank{0, 0, 0, 0, 0};
constexpr LabelGlyph kDash{0, 0, 7, 0, 0};
constexpr LabelGlyph kDot{0, 0, 0, 0, 2};

const LabelGlyph& glyphOf(char c) {
    if (c >= '0' && c <= '9') {
        return kDigits[static_cast<std::size_t>(c - '0')];
    }
    if (c >= 'A' && c <= 'Z') {
        return kLetters[static_cast<std::size_t>(c - 'A')];
    }
    return c == '-' ? kDash : c == '.' ? kDot : kBlank;
}

} // namespace

int labelWidth(std::string_view text, int scale) {
    return text.empty() ? 0 : static_cast<int>(text.size() * (kGlyphWidth + 1) - 1) * scale;
}

void drawLabel(Raster& raster, int x, int y, std::string_view text, int scale, Rgb colour) {
    for (const char c : text) {
        const LabelGlyph& glyph = glyphOf(c);
        for (int row = 0; row < kLabelHeight; ++row) {
            for (int column = 0; column < kGlyphWidth; ++column) {
                if ((glyph[static_cast<std::size_t>(row)] >> (kGlyphWidth - 1 - column) & 1) != 0) {
                    raster.fill(x + column * scale, y + row * scale, scale, scale, colour);
                }
            }
        }
        x += (kGlyphWidth + 1) * scale;
    }
}

} // namespace lumivert
