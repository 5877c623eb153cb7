// The help tab: the colour calculator near its top left corner.

#include "app/window/controls.h"
#include "app/window/tform3.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumivert {

QWidget* TForm3::buildHelpTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet4"));

    GroupBox5 = makeGroupBox(tab, "GroupBox5", QStringLiteral("颜色计算"), {16, 16, 300, 180});
    Label15 = makeLabel(GroupBox5, "Label15", QStringLiteral("16进制值："), {12, 30});
    Edit4 = makeEdit(GroupBox5, "Edit4", QStringLiteral("FF0000"), {100, 26, 100, 22});
    Button17 = makeButton(GroupBox5, "Button17", QStringLiteral("颜色"), {210, 24, 75, 26});
    Label16 = makeLabel(GroupBox5, "Label16", QStringLiteral("GPU颜色值："), {12, 62});
    Edit5 = makeEdit(GroupBox5, "Edit5", QString(), {100, 58, 100, 22});
    hexcolor = makeLabel(GroupBox5, "hexcolor", QStringLiteral("(0x0000）"), {12, 104});
    hexcolor->resize(84, 16);
    pcolor = makePanel(GroupBox5, "pcolor");
    pcolor->setGeometry(100, 90, 49, 41);
    pcolor->setAutoFillBackground(true);
    Button16 = makeButton(GroupBox5, "Button16", QStringLiteral("转换"), {12, 142, 75, 26});

    connectHandler(Button17, &QPushButton::clicked, &TForm3::Button17Click);
    connectHandler(Button16, &QPushButton::clicked, &TForm3::Button16Click);
    return tab;
}

} // namespace lumivert
