#pragma once

#include "picture/decoded_picture.h"

#include <string>

namespace lumivert {

// What the picture conversion shows of its work: the window draws the picture on its picture
// view and adds the lines to its conversion log; the command line prints the lines. The
// defaults do nothing.
class PictureSink {
public:
    PictureSink() = default;
    virtual ~PictureSink() = default;
    PictureSink(const PictureSink&) = delete;
    PictureSink& operator=(const PictureSink&) = delete;

    // The batch is about to convert picture `number` (the window shows it as the picture
    // number typed).
    virtual void pictureStarting(int /*number*/) {}

    // A picture is decoded; it is drawn at the top-left corner of the picture view.
    virtual void pictureLoaded(const DecodedPicture& /*picture*/) {}

    // One line of the conversion log, GBK text.
    virtual void logLine(const std::string& /*line*/) {}
};

} // namespace lumivert
