// The serial tab: port selection and uploads on the left, the page list on the right, and
// the console (receive memo, command memo, page editor) in the centre.

#include "app/window/controls.h"
#include "app/window/port_box.h"
#include "app/window/string_grid.h"
#include "app/window/tform3.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lumivert {
namespace {

constexpr int kUploadButtonTop = 24;
constexpr int kUploadButtonPitch = 36;

QRect uploadButtonPlace(int position) {
    return {24, kUploadButtonTop + position * kUploadButtonPitch, 153, 28};
}

} // namespace

QWidget* TForm3::buildSerialTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet1"));

    // Port selection and uploads, docked left.
    Panel1 = makePanel(tab, "Panel1");
    Panel1->setFixedWidth(217);
    GroupBox1 = makeGroupBox(Panel1, "GroupBox1", QStringLiteral("串口选择"), {8, 8, 201, 128});
    Label1 = makeLabel(GroupBox1, "Label1", QStringLiteral("选择串口："), {12, 28});
    auto* portBox = new PortBox(GroupBox1);
    cbcomm = makeComboBox(GroupBox1, "cbcomm", {80, 24, 110, 22}, portBox);
    Label17 = makeLabel(GroupBox1, "Label17", QStringLiteral("波特率："), {12, 60});
    btl = makeComboBox(GroupBox1, "btl", {80, 56, 110, 22});
    btl->addItems({QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"),
                   QStringLiteral("19200"), QStringLiteral("38400"), QStringLiteral("57600"),
                   QStringLiteral("115200"), QStringLiteral("256000")});
    btl->setCurrentIndex(6);
    Button1 = makeButton(GroupBox1, "Button1", QStringLiteral("打开串口"), {80, 88, 110, 28});

    GroupBox4 = makeGroupBox(Panel1, "GroupBox4", QStringLiteral("数据上传"), {8, 144, 201, 300});
    up1 = makeButton(GroupBox4, "up1", QStringLiteral("上传12点阵字库"), uploadButtonPlace(0));
    up2 = makeButton(GroupBox4, "up2", QStringLiteral("上传16点阵字库"), uploadButtonPlace(1));
    up6 = makeButton(GroupBox4, "up6", QStringLiteral("上传16点阵ASC"), uploadButtonPlace(2));
    up3 = makeButton(GroupBox4, "up3", QStringLiteral("上传24~64点阵字库"), uploadButtonPlace(3));
    up4 = makeButton(GroupBox4, "up4", QStringLiteral("上传页面信息"), uploadButtonPlace(4));
    up5 = makeButton(GroupBox4, "up5", QStringLiteral("上传图形信息"), uploadButtonPlace(5));
    Label13 = makeLabel(GroupBox4, "Label13", QString(), {16, 240});
    Label13->resize(170, 16);
    pb1 = new QProgressBar(GroupBox4);
    pb1->setObjectName(QStringLiteral("pb1"));
    pb1->setGeometry(16, 264, 170, 18);
    pb1->setRange(0, 100);
    pb1->setValue(0);
    for (QPushButton* upload : {up1, up2, up3, up4, up5, up6}) {
        upload->setEnabled(false);
    }
    createUploadMenu();

    // The page list, docked right.
    Panel2 = makePanel(tab, "Panel2");
    Panel2->setFixedWidth(288);
    auto* pageGrid = new StringGrid(Panel2);
    sg1 = pageGrid;
    sg1->setObjectName(QStringLiteral("sg1"));
    setUpStringGrid(*sg1, 24);
    setGridSize(*sg1, 5, 5);
    auto* pageListLayout = new QVBoxLayout(Panel2);
    pageListLayout->setContentsMargins(0, 0, 0, 0);
    pageListLayout->addWidget(sg1);

    // The console in the centre: received text on top, the page editor at the bottom, the
    // commands to send between them.
    Panel3 = makePanel(tab, "Panel3");
    rxmemo = makeMemo(Panel3, "rxmemo", QStringLiteral("串口命令接收区"));
    rxmemo->setFixedHeight(256);
    gscript =
        makeMemo(Panel3, "gscript",
                 QStringLiteral("DS12(0,0,'串口命令发送区，可以在此书写GPU命令，发送到屏',15);"));
    Panel4 = makePanel(Panel3, "Panel4");
    Panel4->setFixedHeight(113);
    Label2 = makeLabel(Panel4, "Label2", QStringLiteral("批界面序号："), {16, 20});
    Label3 = makeLabel(Panel4, "Label3", QString(), {100, 20});
    Label3->resize(80, 16);
    Label4 = makeLabel(Panel4, "Label4", QStringLiteral("描述："), {16, 52});
    Edit1 = makeEdit(Panel4, "Edit1", QString(), {100, 48, 300, 22});
    Button7 = makeButton(Panel4, "Button7", QStringLiteral("存入列表"), {420, 46, 90, 28});
    Bsend = makeButton(Panel4, "Bsend", QStringLiteral("发送指令"), {520, 46, 90, 28});
    bsend2 = makeButton(Panel4, "bsend2", QStringLiteral("整体发送"), {620, 46, 90, 28});
    Bsend->setEnabled(false);
    bsend2->setEnabled(false);
    auto* consoleLayout = new QVBoxLayout(Panel3);
    consoleLayout->setContentsMargins(0, 0, 0, 0);
    consoleLayout->setSpacing(0);
    consoleLayout->addWidget(rxmemo);
    consoleLayout->addWidget(gscript, 1);
    consoleLayout->addWidget(Panel4);

    auto* tabLayout = new QHBoxLayout(tab);
    tabLayout->setContentsMargins(0, 0, 0, 0);
    tabLayout->setSpacing(0);
    tabLayout->addWidget(Panel1);
    tabLayout->addWidget(Panel3, 1);
    tabLayout->addWidget(Panel2);

    connectHandler(cbcomm, &QComboBox::currentTextChanged, &TForm3::cbcommChange);
    connectHandler(portBox, &PortBox::aboutToShowPopup, &TForm3::refreshPortList);
    connectHandler(Button1, &QPushButton::clicked, &TForm3::Button1Click);
    connectHandler(up1, &QPushButton::clicked, &TForm3::up1Click);
    connectHandler(up2, &QPushButton::clicked, &TForm3::up2Click);
    connectHandler(up3, &QPushButton::clicked, &TForm3::up3Click);
    connectHandler(up4, &QPushButton::clicked, &TForm3::up4Click);
    connectHandler(up5, &QPushButton::clicked, &TForm3::up5Click);
    connectHandler(up6, &QPushButton::clicked, &TForm3::up6Click);
    // A page is chosen when the user moves the current cell, by mouse or keyboard; not when
    // the grid takes focus or is filled.
    connectHandler(pageGrid, &StringGrid::currentCellMovedByMouse, &TForm3::sg1Click);
    connectHandler(pageGrid, &StringGrid::currentCellMovedByKeyboard, &TForm3::sg1Click);
    connectHandler(Button7, &QPushButton::clicked, &TForm3::Button7Click);
    connectHandler(Bsend, &QPushButton::clicked, &TForm3::BsendClick);
    connectHandler(bsend2, &QPushButton::clicked, &TForm3::bsend2Click);
    createComm1();
    return tab;
}

} // namespace lumivert
