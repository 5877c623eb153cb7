#include "font/font_table.h"

#include "common/folders.h"
#include "common/gbk.h"
#include "common/integer_parse.h"
#include "common/line_split.h"
#include "common/text_file.h"
#include "common/workbench_error.h"

#include <system_error>
#include <vector>

namespace lumivert {
namespace {

// Cell width, dot size, font width and font height of the default rows: a full-width and
// a half-width row for each of 24, 32, 48 and 64 dots.
struct DefaultRow {
    int cellWidth;
    int dotSize;
    int fontWidth;
    int fontHeight;
};
constexpr std::array<DefaultRow, kFontDefinitions> kDefaultRows{{
    {24, 24, 24, 24},
    {12, 24, 12, 24},
    {32, 32, 32, 32},
    {16, 32, 16, 32},
    {48, 48, 48, 48},
    {24, 48, 24, 48},
    {64, 64, 64, 64},
    {32, 64, 32, 64},
}};

const std::string& headingText() {
    static const std::string text =
        utf8ToGbk("序号\r\n宽\r\n高\r\n内容字\r\n字体\r\n字宽\r\n字高\r\nX偏差\r\nY偏差\r\n状态");
    return text;
}

// Nine lines: number, cell width, dot size, an empty content, face, font width and
// height, both offsets 0.
std::string defaultRowText(int row) {
    const DefaultRow& values = kDefaultRows[static_cast<std::size_t>(row - 1)];
    const std::string face = GlyphParameters{}.face;
    return std::to_string(row) + "\r\n" + std::to_string(values.cellWidth) + "\r\n" +
           std::to_string(values.dotSize) + "\r\n\r\n" + face + "\r\n" +
           std::to_string(values.fontWidth) + "\r\n" + std::to_string(values.fontHeight) +
           "\r\n0\r\n0";
}

std::filesystem::path rowFile(const std::filesystem::path& folder, int row) {
    return folder / ("Font" + std::to_string(row) + ".str");
}

std::string joined(const std::vector<std::string>& lines, std::string_view separator) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += separator;
        }
        text += lines[i];
    }
    return text;
}

} // namespace

const std::string& editingStatus() {
    static const std::string status = utf8ToGbk("编辑中");
    return status;
}

FontTable::FontTable() {
    setRowText(0, headingText());
    for (int row = 1; row <= kFontDefinitions; ++row) {
        setRowText(row, defaultRowText(row));
    }
}

FontTable::Row& FontTable::row(int row) {
    return cells_.at(static_cast<std::size_t>(row));
}

const std::string& FontTable::cell(int column, int row) const {
    return cells_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

void FontTable::setRowText(int rowNumber, std::string_view text) {
    Row& cells = row(rowNumber);
    cells.fill(std::string());
    const std::vector<std::string> lines = splitLines(text);
    for (std::size_t column = 0; column < lines.size() && column < cells.size(); ++column) {
        cells[column] = lines[column].empty() ? " " : lines[column];
    }
}

bool FontTable::halfWidth(int row) const {
    return cell(kDotSizeColumn, row) != cell(kCellWidthColumn, row);
}

void FontTable::load(const std::filesystem::path& folder) {
    std::vector<std::string> failures;
    for (int n = 1; n <= kFontDefinitions; ++n) {
        setRowText(n, defaultRowText(n));
        unreadable_[static_cast<std::size_t>(n)] = false;
        const auto file = rowFile(folder, n);
        std::error_code ignored;
        if (!std::filesystem::exists(file, ignored)) {
            continue;
        }
        try {
            setRowText(n, readWholeFile(file));
            row(n)[kStatusColumn].clear();
        } catch (const WorkbenchError& error) {
            unreadable_[static_cast<std::size_t>(n)] = true;
            failures.emplace_back(error.what());
        }
    }
    if (!failures.empty()) {
        throw WorkbenchError(joined(failures, "\n"));
    }
}

void FontTable::save(const std::filesystem::path& folder) const {
    createFolderIfMissing(folder);
    std::vector<std::string> failures;
    for (int n = 1; n <= kFontDefinitions; ++n) {
        if (unreadable_[static_cast<std::size_t>(n)]) {
            continue;
        }
        const Row& cells = cells_[static_cast<std::size_t>(n)];
        try {
            writeCrlfTextFile(rowFile(folder, n), {cells.begin(), cells.end()});
        } catch (const WorkbenchError& error) {
            failures.emplace_back(error.what());
        }
    }
    if (!failures.empty()) {
        throw WorkbenchError(joined(failures, "\n"));
    }
}

FontEditorValues FontTable::loadRow(int rowNumber) {
    FontEditorValues values = rowValues(rowNumber);
    row(rowNumber)[kStatusColumn] = editingStatus();
    return values;
}

FontEditorValues FontTable::rowValues(int rowNumber) const {
    const Row& cells = cells_.at(static_cast<std::size_t>(rowNumber));
    FontEditorValues values;
    GlyphParameters& parameters = values.parameters;
    parameters.face = cells[kFaceColumn];
    parameters.fontWidth = cells[kFontWidthColumn];
    parameters.fontHeight = cells[kFontHeightColumn];
    parameters.xOffset = cells[kXOffsetColumn];
    parameters.yOffset = cells[kYOffsetColumn];
    parameters.dotSize = cells[kDotSizeColumn];
    parameters.halfWidth = halfWidth(rowNumber);
    values.content = cells[kContentColumn];
    return values;
}

void FontTable::commitRow(int rowNumber, const FontEditorValues& values) {
    Row& cells = row(rowNumber);
    const GlyphParameters& parameters = values.parameters;
    cells[kFaceColumn] = parameters.face;
    cells[kFontWidthColumn] = parameters.fontWidth;
    cells[kFontHeightColumn] = parameters.fontHeight;
    cells[kXOffsetColumn] = parameters.xOffset;
    cells[kYOffsetColumn] = parameters.yOffset;
    cells[kStatusColumn].clear();
    cells[kDotSizeColumn] = parameters.dotSize;
    const std::int32_t dotSize = parseGbkInteger(parameters.dotSize);
    cells[kCellWidthColumn] = std::to_string(parameters.halfWidth ? dotSize / 2 : dotSize);
    cells[kContentColumn] = joined(splitLines(values.content), "");
}

bool selectFontRow(FontEditorState& state, int row) {
    if (state.editing || row < 1 || row >= kFontTableRows) {
        return false;
    }
    state.editing = true;
    state.currentRow = row;
    return true;
}

bool commitFontRow(FontTable& table, FontEditorState& state, const FontEditorValues& values) {
    if (!state.editing) {
        return false;
    }
    state.editing = false;
    table.commitRow(state.currentRow, values);
    return true;
}

} // namespace lumivert
