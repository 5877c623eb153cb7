#pragma once

#include "common/operation_host.h"
#include "font/font_generation_sink.h"
#include "font/glyph_parameters.h"
#include "font/glyph_rasterizer.h"
#include "image/workbench.h"

#include <cstdint>
#include <string_view>

namespace lumivert {

// The run of one font generation: renders its characters one by one into the flash image
// and lets the caller's world move on between them. The caller holds GenerateMode at 1 and
// sets the WriteCursor.
class GlyphGeneration {
public:
    GlyphGeneration(Workbench& workbench, GlyphRasterizer& rasterizer, FontGenerationSink& sink,
                    OperationHost& host, std::int64_t steps)
        : workbench_(workbench), rasterizer_(rasterizer), sink_(sink), host_(host), steps_(steps) {}

    Workbench& workbench() { return workbench_; }
    FontGenerationSink& sink() { return sink_; }

    // Shows the character, renders it (storing its glyph at the WriteCursor, which moves past
    // it) and previews it. The preview's pitch is checked for every glyph, so a cell height
    // of -1 ends the generation with "Division by zero" as the preview does.
    void renderGlyph(const GlyphParameters& parameters, std::string_view character);

    // Between two steps: reports the progress, pumps once and says whether to go on (false
    // once the caller has cancelled).
    bool stepDone();

private:
    Workbench& workbench_;
    GlyphRasterizer& rasterizer_;
    FontGenerationSink& sink_;
    OperationHost& host_;
    std::int64_t steps_;
    std::int64_t done_ = 0;
};

} // namespace lumivert
