// The font definition table, its editor and the font files.

#include "app/window/tform3.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace lumivert {

void TForm3::setFontEditorEnabled(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{zt, zw, zh, xp, yp, cb1, rb1, rb2,
                                                            Button3, Button4, Memo3}) {
        setControlEnabled(control, enabled);
    }
}

// The font table from the font files, or the default rows.
void TForm3::loadFontTable() {}

// The font table rows into the font files.
void TForm3::saveFontTable() {}

// No font table row belongs to the editor yet.
void TForm3::resetCurrentFontRow() {}

void TForm3::sg2Click() {}

void TForm3::Button3Click() {}

void TForm3::Button4Click() {}

void TForm3::Button12Click() {}

} // namespace lumivert
