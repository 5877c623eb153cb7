// The page list and the page files.

#include "app/window/gbk_text.h"
#include "app/window/string_grid.h"
#include "app/window/tform3.h"
#include "common/integer_parse.h"
#include "common/line_split.h"
#include "common/workbench_error.h"
#include "pages/line_marker.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>

namespace lumivert {
namespace {

const std::filesystem::path kPageFolder = "src";

std::string joinedErrors(const std::vector<std::string>& errors) {
    std::string joined;
    for (const auto& error : errors) {
        joined += (joined.empty() ? "" : "\n") + error;
    }
    return joined;
}

} // namespace

// The page list from the page files: 128 rows under the heading row.
void TForm3::loadPageList() {
    setGridSize(*sg1, 3, kPageCount + 1);
    setGridCell(*sg1, 0, 0, QStringLiteral("批界面序号"));
    setGridCell(*sg1, 1, 0, QStringLiteral("描述"));
    setGridCell(*sg1, 2, 0, QStringLiteral("内容"));
    const LoadedPages loaded = loadPageFiles(kPageFolder);
    unreadablePages_ = loaded.unreadable;
    for (int page = 1; page <= kPageCount; ++page) {
        const PageRow& row = loaded.rows[static_cast<std::size_t>(page - 1)];
        for (int column = 0; column < 3; ++column) {
            setGridCell(*sg1, column, page, fromGbk(row[static_cast<std::size_t>(column)]));
        }
    }
    Label3->clear();
    Edit1->clear();
    if (!loaded.errors.empty()) {
        throw WorkbenchError(joinedErrors(loaded.errors));
    }
}

// The page list into the page files; the folder is made when missing. A page file that could
// not be read at start is left as it is.
void TForm3::savePageList() {
    const auto errors = savePageFiles(kPageFolder, pageRows(), unreadablePages_);
    if (!errors.empty()) {
        throw WorkbenchError(joinedErrors(errors));
    }
}

std::vector<PageRow> TForm3::pageRows() const {
    std::vector<PageRow> rows;
    for (int page = 1; page <= kPageCount; ++page) {
        PageRow& row = rows.emplace_back();
        for (int column = 0; column < 3; ++column) {
            row[static_cast<std::size_t>(column)] = toGbk(gridCell(*sg1, column, page));
        }
    }
    return rows;
}

// The chosen page into the page editor: its number, its description, its lines.
void TForm3::sg1Click() {
    const int row = sg1->currentRow() + 1;
    if (row < 1) {
        return;
    }
    Label3->setText(gridCell(*sg1, 0, row));
    Edit1->setText(gridCell(*sg1, 1, row));
    gscript->setPlainText(fromGbk(replaceLineMarkers(toGbk(gridCell(*sg1, 2, row)), "\n")));
}

// The page editor into the row of the page number shown; the editor's lines trimmed first.
void TForm3::Button7Click() {
    const auto lines = trimLines(splitLines(gscript->toPlainText().toStdString()));
    QString trimmedText;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        trimmedText +=
            (i > 0 ? QStringLiteral("\n") : QString()) + QString::fromStdString(lines[i]);
    }
    if (gscript->toPlainText() != trimmedText) {
        gscript->setPlainText(trimmedText);
    }
    const int page = parseInteger(Label3->text().toStdString());
    if (page < 1 || page > kPageCount) {
        throw WorkbenchError("批界面序号 " + std::to_string(page) +
                             " 不在 1 到 128 之间，未存入列表");
    }
    setGridCell(*sg1, 1, page, Edit1->text());
    setGridCell(*sg1, 2, page, QString::fromStdString(joinWithLineMarkers(lines)));
}

} // namespace lumivert
