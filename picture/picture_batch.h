#pragma once

#include "common/operation_host.h"
#include "image/workbench.h"
#include "picture/dithering.h"
#include "picture/picture_sink.h"

namespace lumivert {

// The picture numbers the batch tries, in this order.
inline constexpr int kFirstPictureNumber = 1;
inline constexpr int kLastPictureNumber = 512;

// Converts every picture "pic/<n>.jpg" that exists, n = 1 to 512 in order, into the flash
// image: clears the picture data region, then converts each with GenerateMode 1, packing the
// pixels of each picture directly behind those of the one before, from the start of the
// region. A missing number is skipped without a word. Between pictures `host` reports the
// progress and pumps; the batch stops early when it is cancelled.
//
// Once per batch, after the first picture whose pixels did not all fit into the flash, the
// log names it ("图形数据区已满，第<n>张起的像素未写入").
//
// The first picture that fails ends the batch with its error; the pictures before it stay
// converted. GenerateMode is 0 again on every way out. Each picture's colours are reduced
// to the module's as `reduction` says (see convertPicture).
void convertAllPictures(Workbench& workbench, PictureSink& sink, OperationHost& host,
                        ColourReduction reduction = ColourReduction::Truncate);

} // namespace lumivert
