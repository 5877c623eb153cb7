#pragma once

#include "image/workbench.h"
#include "picture/dithering.h"
#include "picture/picture_sink.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace lumivert {

// What one conversion did to the flash image.
struct PictureOutcome {
    bool written = false;         // the index entry and the pixels went into the image
    bool allPixelsStored = false; // and every pixel byte lay inside the flash
};

// "pic/<name>.jpg" below the working directory; `name` is GBK text as typed.
std::filesystem::path picturePath(std::string_view name);

// "pic/<fileName>.jpg" with the file name's bytes as they are, for a name that comes as bytes
// rather than as text (a command-line argument, which need not be UTF-8).
std::filesystem::path picturePathOfBytes(std::string_view fileName);

// Converts the picture "pic/<name>.jpg", `name` being the picture number as typed (GBK):
// decodes it, shows it and logs "调入：..." to `sink`, refuses a picture of 1500 pixels or
// more in width or height (its size read from its header, the picture neither decoded nor
// shown), reads the number, and then, while GenerateMode is 1, writes the picture's index
// entry and its RGB565 pixels at the WriteCursor. With GenerateMode 0 it is a preview: nothing
// is written, and the WriteCursor moves as if the pixels had been stored. Logs "处理完成！" at
// the end. With ColourReduction::Dither the decoded colours are dithered to the module's
// levels first (ditherToRgb565), and the picture is shown as dithered.
//
// While GenerateMode is 1 a number outside 1 to 511 is not written ("图片编号超出1-511，未处理"):
// its entry would lie past the picture index, on the 12-dot font.
//
// Throws WorkbenchError when the file cannot be opened or decoded (nothing shown or logged)
// and "'<name>' is not a valid integer value" when the number does not read (after the
// load line).
PictureOutcome convertPicture(Workbench& workbench, std::string_view name, PictureSink& sink,
                              ColourReduction reduction = ColourReduction::Truncate);

// The same conversion of the picture in `file`, `name` being what the log shows and the
// number is read from.
PictureOutcome convertPicture(Workbench& workbench, std::string_view name,
                              const std::filesystem::path& file, PictureSink& sink,
                              ColourReduction reduction = ColourReduction::Truncate);

} // namespace lumivert
