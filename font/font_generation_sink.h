#pragma once

#include "font/font_table.h"
#include "font/glyph_rasterizer.h"

#include <cstdint>
#include <string_view>

namespace lumivert {

// What a font generation shows while it runs, in the order it happens: the window puts each
// character into its test-character box, logs each render's text width, shows the glyph
// and its enlarged preview, and shows each font definition row as it is loaded into the
// editor. The defaults show nothing, for the command line and tests.
class FontGenerationSink {
public:
    FontGenerationSink() = default;
    virtual ~FontGenerationSink() = default;
    FontGenerationSink(const FontGenerationSink&) = delete;
    FontGenerationSink& operator=(const FontGenerationSink&) = delete;

    // Row `row` of the font table is loaded into the editor with these values (extracted
    // characters only).
    virtual void rowLoaded(int /*row*/, const FontEditorValues& /*values*/) {}

    // The character (GBK) about to be rendered.
    virtual void characterStarting(std::string_view /*character*/) {}

    // The character is rendered: the rasterizer holds its bitmap and cell; `width` is the
    // width of the text in pixels.
    virtual void glyphRendered(const GlyphRasterizer& /*rasterizer*/, std::int32_t /*width*/) {}

    // The rendered glyph can be previewed enlarged (its cell gives the preview a pitch).
    virtual void glyphPreviewed(const GlyphRasterizer& /*rasterizer*/) {}
};

} // namespace lumivert
