#pragma once

#include "font/extracted_fonts.h"
#include "font/font_table.h"
#include "image/workbench.h"
#include "tests/font/font_generation_fixtures.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace lumivert::testing {

// A workbench whose extracted fonts come from the generation, from a table whose rows the
// test sets.
class ExtractedImage {
public:
    ExtractedImage() { workbench->reset(); }

    // Gives a row a content, a dot size and a width (its font width half the dot size).
    void setRow(int row, const std::string& content, int dots, bool halfWidth) {
        FontEditorValues values;
        values.parameters.dotSize = std::to_string(dots);
        values.parameters.fontHeight = std::to_string(dots);
        values.parameters.fontWidth = std::to_string(dots / 2);
        values.parameters.halfWidth = halfWidth;
        values.content = content;
        table.commitRow(row, values);
    }

    void emptyAllRows() {
        for (int row = 1; row <= kFontDefinitions; ++row) {
            setRow(row, "", 24, row % 2 == 0);
        }
    }

    void generate() {
        FontGenerationSink shown;
        CountingHost host;
        generateExtractedFonts(*workbench, table, editor, rasterizer, shown, host);
    }

    void store(std::int64_t offset, std::vector<std::uint8_t> bytes) {
        workbench->image.store(offset, std::span<const std::uint8_t>(bytes));
    }

    std::unique_ptr<Workbench> workbench = std::make_unique<Workbench>();
    FontTable table;
    FontEditorState editor;
    GlyphRasterizer rasterizer;
};

} // namespace lumivert::testing
