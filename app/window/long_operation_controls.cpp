// The window's side of long operations: which controls they lock, and closing the window
// while one runs.

#include "app/window/tform3.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QTableWidget>

namespace lumivert {

// Everything that starts another long operation or moves the shared cursors: the test
// render, the font editor's commit and face choice, the nudge buttons, the generations,
// a row selection in the font table, the uploads, the console sends and the conversions.
std::vector<QWidget*> TForm3::longOperationControls() const {
    return {Button2,  Button3,  Button4,  Button5,  Button6, Button8,  Button9, Button10,
            Button11, Button12, Button13, Button18, sg2,     up1,      up2,     up3,
            up4,      up5,      up6,      Bsend,    bsend2,  Button14, Button15};
}

void TForm3::beginLongOperation() {
    if (longOperationDepth_++ == 0) {
        longOperationLock_ = std::make_unique<ControlLock>(longOperationControls());
    }
}

void TForm3::endLongOperation() {
    if (--longOperationDepth_ == 0) {
        longOperationLock_.reset();
    }
}

void TForm3::setControlEnabled(QWidget* control, bool enabled) {
    if (longOperationLock_ != nullptr && longOperationLock_->holds(control)) {
        longOperationLock_->setEnabledAfter(control, enabled);
    } else {
        control->setEnabled(enabled);
    }
}

void TForm3::closeEvent(QCloseEvent* event) {
    if (longOperationRunning()) {
        closeRequested_ = true;
    }
    QMainWindow::closeEvent(event);
}

} // namespace lumivert
