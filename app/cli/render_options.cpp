#include "app/cli/render_options.h"

#include "common/gbk.h"

namespace lumivert {

RenderOptions::RenderOptions(int dotSize) {
    typed_.dotSize = std::to_string(dotSize);
    typed_.fontHeight = std::to_string(dotSize);
    typed_.fontWidth = std::to_string(dotSize / 2);
}

void RenderOptions::declare(CLI::App& command, bool withDotSize) {
    face_ = gbkToUtf8(typed_.face);
    command.add_option("--face", face_, "Face name")->capture_default_str();
    if (withDotSize) {
        command.add_option("--dots", typed_.dotSize, "Dot size")->capture_default_str();
    }
    command.add_option("--height", typed_.fontHeight, "Font height in pixels")
        ->capture_default_str();
    command.add_option("--width", typed_.fontWidth, "Font width in pixels (half-width characters)")
        ->capture_default_str();
    command.add_flag("--half", typed_.halfWidth, "Half-width characters");
    command.add_option("--x", typed_.xOffset, "Horizontal offset in pixels")->capture_default_str();
    command.add_option("--y", typed_.yOffset, "Vertical offset in pixels")->capture_default_str();
}

GlyphParameters RenderOptions::parameters() const {
    GlyphParameters parameters = typed_;
    parameters.face = utf8ToGbk(face_);
    for (std::string* field : {&parameters.dotSize, &parameters.fontHeight, &parameters.fontWidth,
                               &parameters.xOffset, &parameters.yOffset}) {
        *field = utf8ToGbk(*field);
    }
    return parameters;
}

} // namespace lumivert
