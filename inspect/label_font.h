#pragma once

#include "inspect/raster.h"

#include <string_view>

namespace lumivert {

// The labels of the contact sheets: digits, capital letters, space, '-' and '.' in dots of
// 3 x 5, a column of space between characters. Other characters are drawn as spaces.
inline constexpr int kLabelHeight = 5;

int labelWidth(std::string_view text, int scale);

// Draws `text` with its top-left corner at (x, y), each dot `scale` x `scale` pixels.
void drawLabel(Raster& raster, int x, int y, std::string_view text, int scale, Rgb colour);

} // namespace lumivert
