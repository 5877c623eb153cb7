// The font definition table, its editor and the font files.

#include "app/window/gbk_text.h"
#include "app/window/string_grid.h"
#include "app/window/tform3.h"
#include "common/workbench_error.h"

#include <QComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace lumivert {
namespace {

// The font files lie in src below the working directory.
const char* const kFontFolder = "src";

} // namespace

void TForm3::setFontEditorEnabled(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{zt, zw, zh, xp, yp, cb1, rb1, rb2,
                                                            Button3, Button4, Memo3}) {
        setControlEnabled(control, enabled);
    }
}

void TForm3::setFontChooser(FontChooser chooser) {
    fontChooser_ = std::move(chooser);
}

// The font table from the font files, or the default rows. The table is shown also when
// a file cannot be read: its row keeps the default.
void TForm3::loadFontTable() {
    setGridSize(*sg2, kFontTableColumns, kFontTableRows);
    std::string failure;
    try {
        fontTable_.load(kFontFolder);
    } catch (const WorkbenchError& error) {
        failure = error.what();
    }
    showFontTable();
    if (!failure.empty()) {
        throw WorkbenchError(failure);
    }
}

// The font table rows into the font files.
void TForm3::saveFontTable() {
    fontTable_.save(kFontFolder);
}

// No font table row belongs to the editor yet.
void TForm3::resetCurrentFontRow() {
    fontEditor_.currentRow = 0;
}

void TForm3::showFontTable() {
    for (int row = 0; row < kFontTableRows; ++row) {
        showFontTableRow(row);
    }
}

void TForm3::showFontTableRow(int row) {
    for (int column = 0; column < kFontTableColumns; ++column) {
        setGridCell(*sg2, column, row, fromGbk(fontTable_.cell(column, row)));
    }
}

// The editor takes the values of row CurrentFontRow, which is marked as being edited.
void TForm3::LoadFontRow() {
    showLoadedFontRow(fontEditor_.currentRow, fontTable_.loadRow(fontEditor_.currentRow));
}

void TForm3::showLoadedFontRow(int row, const FontEditorValues& values) {
    const GlyphParameters& parameters = values.parameters;
    zt->setText(fromGbk(parameters.face));
    zw->setText(fromGbk(parameters.fontWidth));
    zh->setText(fromGbk(parameters.fontHeight));
    xp->setText(fromGbk(parameters.xOffset));
    yp->setText(fromGbk(parameters.yOffset));
    showFontTableRow(row);
    cb1->setCurrentText(fromGbk(parameters.dotSize));
    (parameters.halfWidth ? rb2 : rb1)->setChecked(true);
    Memo3->setPlainText(fromGbk(values.content));
}

FontEditorValues TForm3::fontEditorValues() const {
    return {glyphParameters(), toGbk(Memo3->toPlainText())};
}

void TForm3::sg2Click() {
    if (!selectFontRow(fontEditor_, sg2->currentRow() + 1)) {
        return;
    }
    LoadFontRow();
    setFontEditorEnabled(true);
}

// Takes only the face name of the font confirmed in the dialog.
void TForm3::Button3Click() {
    if (!fontChooser_) {
        fontChooser_ = [](QFontDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
    }
    FontDialog1->setCurrentFont(fontDialogFont_);
    if (!fontChooser_(*FontDialog1)) {
        return;
    }
    fontDialogFont_ = FontDialog1->currentFont();
    zt->setText(fontDialogFont_.family());
}

void TForm3::Button4Click() {
    const FontEditorValues values = fontEditorValues();
    const int row = fontEditor_.currentRow;
    bool committed = false;
    try {
        committed = commitFontRow(fontTable_, fontEditor_, values);
    } catch (const WorkbenchError&) {
        showFontTableRow(row); // what the commit wrote before it failed
        throw;
    }
    if (committed) {
        showFontTableRow(row);
        setFontEditorEnabled(false);
    }
}

// Opens the editor for the 12 and 16-dot fonts without choosing a row.
void TForm3::Button12Click() {
    setFontEditorEnabled(true);
}

} // namespace lumivert
