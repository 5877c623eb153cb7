#include "font/extracted_fonts.h"

#include "font/content_walk.h"
#include "font/extracted_layout.h"
#include "image/generate_mode_guard.h"

#include <array>

namespace lumivert {
namespace {

void storeIndexEntry(Workbench& workbench, const ContentWalk& walk) {
    const std::int32_t address =
        (workbench.writeCursor - workbench.regionMap.offset(RegionMap::ExtractedGlyphBase)) /
        kExtractedGlyphAlignment;
    const std::array<std::uint8_t, kExtractedIndexEntrySize> entry{
        walk.firstCodeByte(), walk.secondCodeByte(), static_cast<std::uint8_t>(address >> 8),
        static_cast<std::uint8_t>(address)};
    workbench.image.store(workbench.indexCursor, entry);
}

} // namespace

bool generateFontRow(GlyphGeneration& generation, const FontEditorValues& row) {
    Workbench& workbench = generation.workbench();
    for (ContentWalk walk(row.content, row.parameters.halfWidth); walk.next();) {
        if (walk.extracted()) {
            workbench.writeCursor =
                static_cast<std::int32_t>(alignedGlyphCursor(workbench.writeCursor));
            if (workbench.generateMode == 1) {
                storeIndexEntry(workbench, walk);
            }
            workbench.indexCursor += kExtractedIndexEntrySize;
            generation.renderGlyph(row.parameters, walk.character());
        }
        if (!generation.stepDone()) {
            return false;
        }
    }
    return true;
}

void generateExtractedFonts(Workbench& workbench, FontTable& table, FontEditorState& editor,
                            GlyphRasterizer& rasterizer, FontGenerationSink& sink,
                            OperationHost& host) {
    const std::int64_t positions = checkExtractedSpace(table, workbench.regionMap);
    const GenerateModeGuard generating(workbench);
    workbench.writeCursor = workbench.regionMap.offset(RegionMap::ExtractedGlyphBase);
    GlyphGeneration generation(workbench, rasterizer, sink, host, positions);
    for (int row = 1; row <= kFontDefinitions; ++row) {
        editor.currentRow = row;
        const FontEditorValues values = table.loadRow(row);
        sink.rowLoaded(row, values);
        if (row % 2 == 1) {
            workbench.indexCursor = extractedIndexTable(workbench.regionMap, row);
        }
        if (!generateFontRow(generation, values)) {
            return;
        }
    }
}

} // namespace lumivert
