#pragma once

#include "common/operation_host.h"
#include "font/font_generation_sink.h"
#include "font/glyph_packing.h"
#include "font/glyph_rasterizer.h"
#include "image/workbench.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace lumivert::testing {

// A caller that counts its calls and cancels once `cancelAfter` steps are done.
class CountingHost : public OperationHost {
public:
    void pump() override { ++pumps; }
    bool cancelled() override { return cancelAfter >= 0 && lastDone >= cancelAfter; }
    void progress(std::int64_t done, std::int64_t total) override {
        lastDone = done;
        lastTotal = total;
    }

    std::int64_t cancelAfter = -1;
    int pumps = 0;
    std::int64_t lastDone = 0;
    std::int64_t lastTotal = 0;
};

// What a generation showed.
class RecordingSink : public FontGenerationSink {
public:
    void rowLoaded(int row, const FontEditorValues& values) override {
        rows.push_back(row);
        contents.push_back(values.content);
    }
    void characterStarting(std::string_view character) override {
        characters.emplace_back(character);
    }
    void glyphRendered(const GlyphRasterizer& /*rasterizer*/, std::int32_t width) override {
        widths.push_back(width);
    }
    void glyphPreviewed(const GlyphRasterizer& /*rasterizer*/) override { ++previews; }

    std::vector<int> rows;
    std::vector<std::string> contents;
    std::vector<std::string> characters;
    std::vector<std::int32_t> widths;
    int previews = 0;
};

// The glyph bytes of `text` rendered on its own with `parameters`.
inline std::vector<std::uint8_t> glyphBytes(const GlyphParameters& parameters,
                                            const std::string& text) {
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    GlyphRasterizer rasterizer;
    rasterizer.render(*workbench, parameters, text);
    return packGlyph(rasterizer.bitmap(), rasterizer.cell());
}

inline std::vector<std::uint8_t> imageBytes(const Workbench& workbench, std::int64_t offset,
                                            std::int64_t count) {
    std::vector<std::uint8_t> bytes;
    for (std::int64_t i = 0; i < count; ++i) {
        bytes.push_back(workbench.image.load(offset + i));
    }
    return bytes;
}

// The message of what `action` throws; empty when it throws nothing.
template <typename Action> std::string errorOf(Action&& action) {
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

// A copy of the image's bytes, to see that nothing changed.
inline std::vector<std::uint8_t> imageCopy(const Workbench& workbench) {
    const auto bytes = workbench.image.image();
    return {bytes.begin(), bytes.end()};
}

} // namespace lumivert::testing
