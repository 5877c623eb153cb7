#pragma once

#include "font/glyph_parameters.h"

#include <CLI/CLI.hpp>
#include <string>

namespace lumivert {

// The render options of the verbs that render glyphs, as the font editor holds them:
// --face, --dots (where the verb lets the dot size be chosen), --height, --width, --half,
// --x and --y.
class RenderOptions {
public:
    // The font tab's defaults.
    RenderOptions() = default;
    // The defaults of a fixed dot size: font height as the dot size, font width half of it.
    explicit RenderOptions(int dotSize);

    void declare(CLI::App& command, bool withDotSize);

    // The parameters as the core takes them, in GBK.
    GlyphParameters parameters() const;

private:
    std::string face_;
    GlyphParameters typed_; // UTF-8 as typed
};

} // namespace lumivert
