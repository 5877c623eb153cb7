#include "common/workbench_error.h"
#include "font/extracted_layout.h"
#include "font/font_table.h"
#include "fuzz/bodies.h"
#include "fuzz/scratch_folder.h"

namespace lumivert::fuzz {
namespace {

// The row the file stands for: a half-width row by default.
constexpr int kRow = 4;

// The row as the next start reads it back: every cell a line, an empty one as one space,
// the status emptied.
void expectReadBack(const FontTable& saved, const FontTable& read) {
    for (int column = 0; column < kFontTableColumns; ++column) {
        const std::string& cell = saved.cell(column, kRow);
        const std::string expected =
            column == kStatusColumn ? std::string() : (cell.empty() ? " " : cell);
        expect(read.cell(column, kRow) == expected,
               "a font file written and read again gives its row");
    }
}

} // namespace

// A font definition file read at start-up, checked for space as the generation checks it,
// selected, committed back unchanged, saved and read again.
void readFontFile(Input input) {
    const auto folder = emptyScratchFolder("font_file") / "src";
    writeScratchFile(folder / ("Font" + std::to_string(kRow) + ".str"), asText(input));
    FontTable table;
    table.load(folder);
    expect(table.cell(kStatusColumn, kRow).empty(), "a loaded row is not being edited");
    try {
        checkExtractedSpace(table, RegionMap::standard());
    } catch (const WorkbenchError&) {
        // A list that does not fit is refused; that is all.
    }

    FontEditorState editor;
    expect(selectFontRow(editor, kRow), "a row can be selected");
    const FontEditorValues values = table.loadRow(kRow);
    try {
        commitFontRow(table, editor, values);
    } catch (const WorkbenchError&) {
        // A dot size that is not a number; the cells before it are written.
    }
    expect(!editor.editing, "a commit ends the editing");

    table.save(folder);
    FontTable read;
    read.load(folder);
    expectReadBack(table, read);
}

} // namespace lumivert::fuzz
