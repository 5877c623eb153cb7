#pragma once

#include "picture/decoded_picture.h"

#include <filesystem>

namespace lumivert {

// Decodes a JPEG file through libjpeg at full size with the library's default decompression
// settings: colour pictures come out as 8-bit red, green and blue without quantisation;
// greyscale pictures go through the library's one-pass colour quantisation to 236 grey levels
// with Floyd-Steinberg dithering and come out as equal red, green and blue. Keeps the top-left
// `keptSide` x `keptSide` pixels at most and stops decoding below them.
//
// A file cut inside its scan data is only a warning of the library: the picture is decoded as
// far as its data go. Throws WorkbenchError "Cannot open file ..." when the file cannot be
// opened, and "JPEG error #<n>" with the library's message code when it rejects the file.
DecodedPicture decodeJpegFile(const std::filesystem::path& path, int keptSide = kPictureViewSide);

} // namespace lumivert
