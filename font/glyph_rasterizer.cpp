#include "font/glyph_rasterizer.h"

#include "common/integer_parse.h"
#include "font/glyph_packing.h"

namespace lumivert {

GlyphRasterizer::GlyphRasterizer() : faces_(library_.get()) {}

std::int32_t GlyphRasterizer::render(Workbench& workbench, const GlyphParameters& parameters,
                                     std::string_view text) {
    workbench.writeCursor = clampWriteCursor(workbench.writeCursor);
    const std::int32_t dotSize = parseGbkInteger(parameters.dotSize);
    cell_ = glyphCell(dotSize, parameters.halfWidth);
    const std::int32_t height = parseGbkInteger(parameters.fontHeight);
    const std::int32_t width = parameters.halfWidth ? parseGbkInteger(parameters.fontWidth) : 0;
    FaceStack& faces = faces_.stack(parameters.face, height, width);

    bitmap_.clearInside();
    const std::int64_t x = std::int64_t{parseGbkInteger(parameters.xOffset)} + 1;
    const std::int64_t y = std::int64_t{parseGbkInteger(parameters.yOffset)} + 1;
    decodeCp936(text, characters_);
    const std::int32_t textWidth = painter_.draw(bitmap_, faces, characters_, x, y, facesUsed_);

    drawFrame();
    workbench.writeCursor = storeGlyph(workbench.image, workbench.writeCursor, bitmap_, cell_,
                                       workbench.generateMode == 1);
    return textWidth;
}

// The frame runs just outside the cell, through (0, 0) and (CellWidth + 1, CellHeight + 1).
void GlyphRasterizer::drawFrame() {
    const std::int64_t right = std::int64_t{cell_.width} + 1;
    const std::int64_t bottom = std::int64_t{cell_.height} + 1;
    bitmap_.drawLine(0, 0, 0, bottom);
    bitmap_.drawLine(0, bottom, right, bottom);
    bitmap_.drawLine(right, bottom, right, 0);
    bitmap_.drawLine(right, 0, 0, 0);
}

} // namespace lumivert
