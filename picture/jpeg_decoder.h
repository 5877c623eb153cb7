#pragma once

#include "picture/decoded_picture.h"

#include <filesystem>

namespace lumivert {

// A real picture has a few scans, a progressive one a dozen or so; a decode stops past this
// many.
inline constexpr int kMostJpegScans = 1000;

// Decodes a JPEG file through libjpeg at full size with the library's default decompression
// settings: colour pictures come out as 8-bit red, green and blue without quantisation;
// greyscale pictures go through the library's one-pass colour quantisation to 236 grey levels
// with Floyd-Steinberg dithering and come out as equal red, green and blue.
//
// The size is taken from the file's header first: a picture wider or taller than
// `largestSide` is not decoded and comes back with its size alone, no pixels kept, at the
// cost of reading its header.
//
// A file cut inside its scan data is only a warning of the library: the picture is decoded as
// far as its data go. Throws WorkbenchError "Cannot open file ..." when the file cannot be
// opened, "The picture "<full path>" has more than 1000 scans and is not decoded." when it
// has, and "JPEG error #<n>" with the library's message code when it rejects the file.
DecodedPicture decodeJpegFile(const std::filesystem::path& path,
                              int largestSide = kLargestPictureSide);

} // namespace lumivert
