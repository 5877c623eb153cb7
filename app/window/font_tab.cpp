// The font tab: the font table across the top; below it the font editor on the left, the
// glyph test and the generation buttons in the middle, the enlarged glyph on the right.

#include "app/window/controls.h"
#include "app/window/image_box.h"
#include "app/window/string_grid.h"
#include "app/window/tform3.h"
#include "font/glyph_preview.h"

#include <QComboBox>
#include <QFontDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lumivert {
namespace {

constexpr int kFontTableRowHeight = 18;

// The font table's own font: 9 points, in WenQuanYi Micro Hei where 微软雅黑 is missing.
QFont fontTableFont() {
    QFont font;
    font.setFamilies({QStringLiteral("微软雅黑"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSize(9);
    return font;
}

} // namespace

QWidget* TForm3::buildFontTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet2"));

    Panel5 = makePanel(tab, "Panel5");
    Panel5->setFixedHeight(193);
    auto* fontGrid = new StringGrid(Panel5);
    sg2 = fontGrid;
    sg2->setObjectName(QStringLiteral("sg2"));
    sg2->setFont(fontTableFont());
    setUpStringGrid(*sg2, kFontTableRowHeight);
    setGridSize(*sg2, kFontTableColumns, kFontTableRows);
    auto* fontTableLayout = new QVBoxLayout(Panel5);
    fontTableLayout->setContentsMargins(0, 0, 0, 0);
    fontTableLayout->addWidget(sg2);

    Panel6 = makePanel(tab, "Panel6");

    // The font editor.
    GroupBox2 = makeGroupBox(Panel6, "GroupBox2", QStringLiteral("字体编辑"), {8, 8, 280, 330});
    Label5 = makeLabel(GroupBox2, "Label5", QStringLiteral("字体："), {12, 28});
    zt = makeLabel(GroupBox2, "zt", QStringLiteral("宋体"), {60, 28});
    zt->resize(120, 16);
    Button3 = makeButton(GroupBox2, "Button3", QStringLiteral("选字体"), {190, 22, 75, 26});
    Label6 = makeLabel(GroupBox2, "Label6", QStringLiteral("大小："), {12, 60});
    zw = makeEdit(GroupBox2, "zw", QStringLiteral("24"), {60, 56, 50, 22});
    zh = makeEdit(GroupBox2, "zh", QStringLiteral("24"), {120, 56, 50, 22});
    Label7 = makeLabel(GroupBox2, "Label7", QStringLiteral("点阵："), {12, 92});
    cb1 = makeComboBox(GroupBox2, "cb1", {60, 88, 80, 22});
    cb1->addItems(
        {QStringLiteral("24"), QStringLiteral("32"), QStringLiteral("48"), QStringLiteral("64")});
    cb1->setCurrentIndex(0);
    Label8 = makeLabel(GroupBox2, "Label8", QStringLiteral("类型："), {12, 124});
    rb1 = makeRadioButton(GroupBox2, "rb1", QStringLiteral("汉字"), {60, 120, 70, 22});
    rb2 = makeRadioButton(GroupBox2, "rb2", QStringLiteral("字符"), {140, 120, 70, 22});
    rb1->setChecked(true);
    Label9 = makeLabel(GroupBox2, "Label9", QStringLiteral("偏差：X"), {12, 156});
    xp = makeEdit(GroupBox2, "xp", QStringLiteral("0"), {70, 152, 50, 22});
    Label10 = makeLabel(GroupBox2, "Label10", QStringLiteral("Y："), {132, 156});
    yp = makeEdit(GroupBox2, "yp", QStringLiteral("0"), {160, 152, 50, 22});
    Label11 = makeLabel(GroupBox2, "Label11", QStringLiteral("汉字及字符："), {12, 188});
    Memo3 = makeMemo(GroupBox2, "Memo3", QString());
    Memo3->setGeometry(12, 208, 256, 80);
    Button4 = makeButton(GroupBox2, "Button4", QStringLiteral("设置"), {190, 294, 75, 28});

    // The full-set and ASCII generations, under the editor.
    Button12 =
        makeButton(Panel6, "Button12", QStringLiteral("开始设置12/16点阵数据"), {8, 346, 280, 26});
    Button11 = makeButton(Panel6, "Button11", QStringLiteral("按当前文字参数生产12点阵字体"),
                          {8, 376, 280, 26});
    Button13 = makeButton(Panel6, "Button13", QStringLiteral("按当前文字参数生产16点阵字体"),
                          {8, 406, 280, 26});
    Button18 =
        makeButton(Panel6, "Button18", QStringLiteral("生产8X16 ASC 点阵"), {8, 436, 280, 26});
    Button12->hide();
    Button11->hide();
    Button13->hide();

    // The glyph at true size, the test of one character, the extracted-character generation.
    Image1 = new ImageBox(Panel6, 86, 62);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->move(310, 8);
    GroupBox3 = makeGroupBox(Panel6, "GroupBox3", QStringLiteral("测试："), {310, 80, 260, 104});
    Label12 = makeLabel(GroupBox3, "Label12", QStringLiteral("测试汉字："), {12, 28});
    Edit2 = makeEdit(GroupBox3, "Edit2", QStringLiteral("薄"), {90, 24, 60, 22});
    run = makeButton(GroupBox3, "run", QStringLiteral("RUN"), {12, 62, 75, 28});
    Button2 = makeButton(GroupBox3, "Button2", QStringLiteral("测试位置"), {95, 62, 75, 28});
    draw = makeButton(GroupBox3, "draw", QStringLiteral("draw"), {178, 62, 75, 28});
    run->hide();
    draw->hide();
    Button10 = makeButton(Panel6, "Button10", QStringLiteral("生产所有抽取式汉字数据"),
                          {310, 196, 260, 30});

    // The enlarged glyph with the buttons that move the glyph in its cell.
    Image2 = new ImageBox(Panel6, kGlyphPreviewSide, kGlyphPreviewSide);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->move(740, 4);
    Button5 = makeButton(Panel6, "Button5", QStringLiteral("上"), {700, 150, 32, 60});
    Button6 = makeButton(Panel6, "Button6", QStringLiteral("下"), {700, 270, 32, 60});
    Button8 = makeButton(Panel6, "Button8", QStringLiteral("左"), {900, 489, 60, 26});
    Button9 = makeButton(Panel6, "Button9", QStringLiteral("右"), {1000, 489, 60, 26});

    auto* tabLayout = new QVBoxLayout(tab);
    tabLayout->setContentsMargins(0, 0, 0, 0);
    tabLayout->setSpacing(0);
    tabLayout->addWidget(Panel5);
    tabLayout->addWidget(Panel6, 1);

    // The font dialog of "选字体", created once.
    fontDialogFont_ = QFont(QStringLiteral("Tahoma"), 8);
    FontDialog1 = new QFontDialog(fontDialogFont_, this);
    FontDialog1->setObjectName(QStringLiteral("FontDialog1"));

    // A row of the font table is chosen by a click on one of its cells (the current cell
    // included) or by moving the current cell with the keyboard.
    connectHandler(fontGrid, &StringGrid::cellClickedByUser, &TForm3::sg2Click);
    connectHandler(fontGrid, &StringGrid::currentCellMovedByKeyboard, &TForm3::sg2Click);
    connectHandler(Button3, &QPushButton::clicked, &TForm3::Button3Click);
    connectHandler(Button4, &QPushButton::clicked, &TForm3::Button4Click);
    connectHandler(run, &QPushButton::clicked, &TForm3::runClick);
    connectHandler(Button2, &QPushButton::clicked, &TForm3::Button2Click);
    connectHandler(draw, &QPushButton::clicked, &TForm3::drawClick);
    connectHandler(Button10, &QPushButton::clicked, &TForm3::Button10Click);
    connectHandler(Button5, &QPushButton::clicked, &TForm3::Button5Click);
    connectHandler(Button6, &QPushButton::clicked, &TForm3::Button6Click);
    connectHandler(Button8, &QPushButton::clicked, &TForm3::Button8Click);
    connectHandler(Button9, &QPushButton::clicked, &TForm3::Button9Click);
    connectHandler(Button12, &QPushButton::clicked, &TForm3::Button12Click);
    connectHandler(Button11, &QPushButton::clicked, &TForm3::Button11Click);
    connectHandler(Button13, &QPushButton::clicked, &TForm3::Button13Click);
    connectHandler(Button18, &QPushButton::clicked, &TForm3::Button18Click);
    return tab;
}

} // namespace lumivert
