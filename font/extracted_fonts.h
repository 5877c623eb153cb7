#pragma once

#include "common/operation_host.h"
#include "font/font_generation_sink.h"
#include "font/font_table.h"
#include "font/glyph_generation.h"
#include "font/glyph_rasterizer.h"
#include "image/workbench.h"

namespace lumivert {

// Generates the extracted-character fonts of rows 1 to 8 of the table in one pass. First it
// counts what the pass would write and refuses, with nothing changed, when it does not fit
// (see checkExtractedSpace). Then, with GenerateMode 1 and the WriteCursor at the glyph
// region's start, each row in turn becomes the editor's current row and is loaded
// (FontTable::loadRow, which marks it "编辑中"); an odd row starts its pair's index table, an
// even row goes on where the odd row before it stopped; and the row's characters are
// generated (generateFontRow).
//
// GenerateMode is 0 again on every way out. A render that fails ends the pass with its
// error; what was written before stays, the index entry of the failing character included.
// A cancelled pass stops at the next content position.
void generateExtractedFonts(Workbench& workbench, FontTable& table, FontEditorState& editor,
                            GlyphRasterizer& rasterizer, FontGenerationSink& sink,
                            OperationHost& host);

// One row's characters with its values, from the WriteCursor and the IndexCursor on, which
// it leaves past the last glyph and entry. For each character the row extracts (see
// ContentWalk): the WriteCursor moves up to a multiple of 8, the index entry goes to the
// IndexCursor, which moves on by 4, and the glyph is rendered at the WriteCursor. After every
// content position the generation steps. False when the pass was cancelled.
bool generateFontRow(GlyphGeneration& generation, const FontEditorValues& row);

} // namespace lumivert
