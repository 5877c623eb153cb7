#pragma once

#include "picture/decoded_picture.h"

namespace lumivert {

// How a picture's 8-bit colours become the module's 5-6-5 levels: by dropping their low bits
// (the module's own conversion, byte for byte), or by Floyd-Steinberg error diffusion first,
// so that gradients and photographs show no bands.
enum class ColourReduction { Truncate, Dither };

// Floyd-Steinberg error diffusion of the picture's colours into the 5-6-5 levels of the
// module's colour, row by row from the top, each row from the left: each channel of a pixel,
// with the error its neighbours passed on, takes the nearest level, and the difference goes
// on to the pixel to the right (7/16), below left (3/16), below (5/16) and below right
// (1/16). Each pixel is replaced by the 8-bit colour of its levels (rgb565Expanded), which
// the truncation maps back to exactly those levels.
void ditherToRgb565(DecodedPicture& picture);

} // namespace lumivert
