#pragma once

#include "font/glyph_parameters.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace lumivert {

// The table of the eight extracted-character font definitions. Row 0 is the heading row,
// rows 1 to 8 are the definitions, rows 9 to 16 exist but are never filled from a file,
// saved or generated. Every cell is GBK text; numbers are decimal text.
inline constexpr int kFontTableColumns = 12;
inline constexpr int kFontTableRows = 17;
inline constexpr int kFontDefinitions = 8;

enum FontColumn : int {
    kRowNumberColumn = 0,
    kCellWidthColumn = 1, // the dot size, or half of it for half-width characters
    kDotSizeColumn = 2,
    kContentColumn = 3, // the characters to extract
    kFaceColumn = 4,
    kFontWidthColumn = 5,
    kFontHeightColumn = 6,
    kXOffsetColumn = 7,
    kYOffsetColumn = 8,
    kStatusColumn = 9, // "编辑中" while the row is loaded in the font editor
};

// What the font editor holds: the render parameters and the content (the characters to
// extract; in the editor's memo it may run over several lines).
struct FontEditorValues {
    GlyphParameters parameters;
    std::string content;
};

class FontTable {
public:
    // The heading row and the eight default rows.
    FontTable();

    // The text of a cell; rows 0 to 16, columns 0 to 11.
    const std::string& cell(int column, int row) const;

    // Sets a row from text: every cell emptied, then each line of the text (ended by CR,
    // LF, CR LF or the end) into the next cell from column 0 on, an empty line as a single
    // space; lines past the twelfth are dropped.
    void setRowText(int row, std::string_view text);

    // A row is half-width when its dot size differs from its cell width, as text.
    bool halfWidth(int row) const;

    // Rows 1 to 8 from `folder`/Font<n>.str; the default row where the file is missing.
    // A loaded row's status is emptied. A file that exists but cannot be read leaves the
    // default row, is reported (WorkbenchError, one line per file, after every row is
    // loaded) and is never written over by save().
    void load(const std::filesystem::path& folder);

    // Rows 1 to 8 into `folder`/Font<n>.str, twelve CR LF ended lines each, creating the
    // folder when it is missing. Every file is tried; the failures are reported together.
    void save(const std::filesystem::path& folder) const;

    // Copies a row into the editor's values and marks it "编辑中".
    FontEditorValues loadRow(int row);

    // The editor's values a row holds, the row left as it is.
    FontEditorValues rowValues(int row) const;

    // Writes the editor's values into a row: face, font width and height, offsets, an
    // empty status and the dot size as typed; then the cell width from the dot size
    // converted (halved for half-width characters), and the content with its line breaks
    // dropped. A dot size that is not a number throws there, with the cells before it
    // written and the cell width and content as they were.
    void commitRow(int row, const FontEditorValues& values);

private:
    using Row = std::array<std::string, kFontTableColumns>;
    Row& row(int row);

    std::array<Row, kFontTableRows> cells_;
    std::array<bool, kFontDefinitions + 1> unreadable_{};
};

// The font editor's place in the table: the row it belongs to (0 before any selection)
// and whether that row is being edited.
struct FontEditorState {
    int currentRow = 0;
    bool editing = false;
};

// A selection of row `row` (1 to 16) of the table: while a row is being edited nothing
// happens (false); else `row` becomes the row being edited, whose values the caller then
// loads into the editor (FontTable::loadRow).
bool selectFontRow(FontEditorState& state, int row);

// Commits the editor into the row being edited and ends the editing; false, and nothing
// changed, when no row is being edited. A failed commit (see FontTable::commitRow) has
// already ended the editing.
bool commitFontRow(FontTable& table, FontEditorState& state, const FontEditorValues& values);

// The status text of a row being edited, "编辑中", in GBK.
const std::string& editingStatus();

} // namespace lumivert
