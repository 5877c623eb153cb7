// The colour calculator.

#include "app/window/gbk_text.h"
#include "app/window/tform3.h"
#include "picture/colour_calculator.h"

#include <QColorDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

namespace lumivert {

void TForm3::Button16Click() {
    const ModuleColour colour = convertColourText(toGbk(Edit4->text()));
    Edit5->setText(QString::fromStdString(colour.decimal));
    hexcolor->setText(QString::fromStdString(colour.caption));
}

// The dialog opens on the colour last chosen in it, black the first time; a cancelled dialog
// changes nothing. The conversion waits for "转换".
void TForm3::Button17Click() {
    if (ColorDialog1 == nullptr) {
        ColorDialog1 = new QColorDialog(this);
        ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));
    }
    ColorDialog1->setCurrentColor(chosenColour_);
    const int result = runColourDialog_ ? runColourDialog_(*ColorDialog1) : ColorDialog1->exec();
    if (result != QDialog::Accepted) {
        return;
    }
    chosenColour_ = ColorDialog1->selectedColor();
    Edit4->setText(
        QString::fromStdString(colourDigits(static_cast<std::uint8_t>(chosenColour_.red()),
                                            static_cast<std::uint8_t>(chosenColour_.green()),
                                            static_cast<std::uint8_t>(chosenColour_.blue()))));
    QPalette swatch = pcolor->palette();
    swatch.setColor(QPalette::Window, chosenColour_);
    pcolor->setPalette(swatch);
}

void TForm3::setColourDialogRunner(ColourDialogRunner runner) {
    runColourDialog_ = std::move(runner);
}

} // namespace lumivert
