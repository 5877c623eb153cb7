// The picture tab: the picture view at the top left, the conversion log beside it, and the
// picture number with the two conversion buttons under the view; the batch button has a
// context menu.

#include "app/window/controls.h"
#include "app/window/image_box.h"
#include "app/window/tform3.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace lumivert {

QWidget* TForm3::buildPictureTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet3"));

    Image3 = new ImageBox(tab, 633, 305);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->move(8, 8);
    picmemo = makeMemo(tab, "picmemo", QStringLiteral("picmemo"));
    picmemo->setGeometry(649, 8, 401, 305);
    Label14 = makeLabel(tab, "Label14", QStringLiteral("图片编号："), {8, 328});
    Edit3 = makeEdit(tab, "Edit3", QStringLiteral("1"), {80, 324, 80, 22});
    Button14 = makeButton(tab, "Button14", QStringLiteral("图片处理"), {176, 321, 100, 28});
    Button15 =
        makeButton(tab, "Button15", QStringLiteral("生产全部图片的数据"), {290, 321, 160, 28});

    connectHandler(Button14, &QPushButton::clicked, &TForm3::Button14Click);
    connectHandler(Button15, &QPushButton::clicked, &TForm3::Button15Click);
    buildBatchMenu();
    return tab;
}

} // namespace lumivert
