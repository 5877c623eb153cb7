#include "app/window/image_box.h"
#include "app/window/string_grid.h"
#include "tests/window/window_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>

namespace lumivert::testing {
namespace {

template <typename Kind> bool is(const QWidget* control) {
    return dynamic_cast<const Kind*>(control) != nullptr;
}

// The caption, text or selected item a control shows.
QString shownText(const QWidget* control) {
    if (const auto* button = dynamic_cast<const QAbstractButton*>(control)) {
        return button->text();
    }
    if (const auto* label = dynamic_cast<const QLabel*>(control)) {
        return label->text();
    }
    if (const auto* edit = dynamic_cast<const QLineEdit*>(control)) {
        return edit->text();
    }
    if (const auto* memo = dynamic_cast<const QPlainTextEdit*>(control)) {
        return memo->toPlainText();
    }
    if (const auto* box = dynamic_cast<const QComboBox*>(control)) {
        return box->currentText();
    }
    if (const auto* group = dynamic_cast<const QGroupBox*>(control)) {
        return group->title();
    }
    return {};
}

enum class State { Enabled, Disabled, Hidden };

struct ControlRow {
    const char* name;
    int tab;
    bool (*isKind)(const QWidget*);
    const char* text; // nullptr: not fixed by the layout
    State state = State::Enabled;
};

const ControlRow kControls[] = {
    // Serial tab.
    {"Panel1", 0, is<QFrame>, ""},
    {"Panel2", 0, is<QFrame>, ""},
    {"Panel3", 0, is<QFrame>, ""},
    {"Panel4", 0, is<QFrame>, ""},
    {"GroupBox1", 0, is<QGroupBox>, "串口选择"},
    {"Label1", 0, is<QLabel>, "选择串口："},
    {"cbcomm", 0, is<QComboBox>, nullptr},
    {"Label17", 0, is<QLabel>, "波特率："},
    {"btl", 0, is<QComboBox>, "115200"},
    {"Button1", 0, is<QPushButton>, "打开串口"},
    {"GroupBox4", 0, is<QGroupBox>, "数据上传"},
    {"up1", 0, is<QPushButton>, "上传12点阵字库", State::Disabled},
    {"up2", 0, is<QPushButton>, "上传16点阵字库", State::Disabled},
    {"up6", 0, is<QPushButton>, "上传16点阵ASC", State::Disabled},
    {"up3", 0, is<QPushButton>, "上传24~64点阵字库", State::Disabled},
    {"up4", 0, is<QPushButton>, "上传页面信息", State::Disabled},
    {"up5", 0, is<QPushButton>, "上传图形信息", State::Disabled},
    {"Label13", 0, is<QLabel>, ""},
    {"pb1", 0, is<QProgressBar>, ""},
    {"sg1", 0, is<QTableWidget>, ""},
    {"rxmemo", 0, is<QPlainTextEdit>, "串口命令接收区"},
    {"gscript", 0, is<QPlainTextEdit>,
     "DS12(0,0,'串口命令发送区，可以在此书写GPU命令，发送到屏',15);"},
    {"Label2", 0, is<QLabel>, "批界面序号："},
    {"Label3", 0, is<QLabel>, ""},
    {"Label4", 0, is<QLabel>, "描述："},
    {"Edit1", 0, is<QLineEdit>, ""},
    {"Button7", 0, is<QPushButton>, "存入列表"},
    {"Bsend", 0, is<QPushButton>, "发送指令", State::Disabled},
    {"bsend2", 0, is<QPushButton>, "整体发送", State::Disabled},
    // Font tab.
    {"Panel5", 1, is<QFrame>, ""},
    {"Panel6", 1, is<QFrame>, ""},
    {"sg2", 1, is<QTableWidget>, ""},
    {"GroupBox2", 1, is<QGroupBox>, "字体编辑"},
    {"Label5", 1, is<QLabel>, "字体："},
    {"zt", 1, is<QLabel>, "宋体", State::Disabled},
    {"Button3", 1, is<QPushButton>, "选字体", State::Disabled},
    {"Label6", 1, is<QLabel>, "大小："},
    {"zw", 1, is<QLineEdit>, "24", State::Disabled},
    {"zh", 1, is<QLineEdit>, "24", State::Disabled},
    {"Label7", 1, is<QLabel>, "点阵："},
    {"cb1", 1, is<QComboBox>, "24", State::Disabled},
    {"Label8", 1, is<QLabel>, "类型："},
    {"rb1", 1, is<QRadioButton>, "汉字", State::Disabled},
    {"rb2", 1, is<QRadioButton>, "字符", State::Disabled},
    {"Label9", 1, is<QLabel>, "偏差：X"},
    {"xp", 1, is<QLineEdit>, "0", State::Disabled},
    {"Label10", 1, is<QLabel>, "Y："},
    {"yp", 1, is<QLineEdit>, "0", State::Disabled},
    {"Label11", 1, is<QLabel>, "汉字及字符："},
    {"Memo3", 1, is<QPlainTextEdit>, "", State::Disabled},
    {"Button4", 1, is<QPushButton>, "设置", State::Disabled},
    {"Image1", 1, is<ImageBox>, ""},
    {"GroupBox3", 1, is<QGroupBox>, "测试："},
    {"Label12", 1, is<QLabel>, "测试汉字："},
    {"Edit2", 1, is<QLineEdit>, "薄"},
    {"run", 1, is<QPushButton>, "RUN", State::Hidden},
    {"Button2", 1, is<QPushButton>, "测试位置"},
    {"draw", 1, is<QPushButton>, "draw", State::Hidden},
    {"Button10", 1, is<QPushButton>, "生产所有抽取式汉字数据"},
    {"Image2", 1, is<ImageBox>, ""},
    {"Button5", 1, is<QPushButton>, "上"},
    {"Button6", 1, is<QPushButton>, "下"},
    {"Button8", 1, is<QPushButton>, "左"},
    {"Button9", 1, is<QPushButton>, "右"},
    {"Button12", 1, is<QPushButton>, "开始设置12/16点阵数据", State::Hidden},
    {"Button11", 1, is<QPushButton>, "按当前文字参数生产12点阵字体", State::Hidden},
    {"Button13", 1, is<QPushButton>, "按当前文字参数生产16点阵字体", State::Hidden},
    {"Button18", 1, is<QPushButton>, "生产8X16 ASC 点阵"},
    // Picture tab.
    {"Image3", 2, is<ImageBox>, ""},
    {"picmemo", 2, is<QPlainTextEdit>, "picmemo"},
    {"Label14", 2, is<QLabel>, "图片编号："},
    {"Edit3", 2, is<QLineEdit>, "1"},
    {"Button14", 2, is<QPushButton>, "图片处理"},
    {"Button15", 2, is<QPushButton>, "生产全部图片的数据"},
    // Help tab: the colour calculator.
    {"GroupBox5", 3, is<QGroupBox>, "颜色计算"},
    {"Label15", 3, is<QLabel>, "16进制值："},
    {"Edit4", 3, is<QLineEdit>, "FF0000"},
    {"Button17", 3, is<QPushButton>, "颜色"},
    {"Label16", 3, is<QLabel>, "GPU颜色值："},
    {"Edit5", 3, is<QLineEdit>, ""},
    {"hexcolor", 3, is<QLabel>, "(0x0000）"},
    {"pcolor", 3, is<QFrame>, ""},
    {"Button16", 3, is<QPushButton>, "转换"},
};

QStringList itemsOf(const QComboBox& box) {
    QStringList items;
    for (int index = 0; index < box.count(); ++index) {
        items.push_back(box.itemText(index));
    }
    return items;
}

class WindowLayoutTest : public WindowTest {
protected:
    template <typename Kind = QWidget> Kind* control(const char* name) const {
        auto* found = window->findChild<Kind*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    std::unique_ptr<TForm3> window = openWindow();
};

TEST_F(WindowLayoutTest, OpensAtTheTopLeftWithItsTitleSizeAndFourTabs) {
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Lumivert V1.1 B0917"));
    EXPECT_EQ(window->size(), QSize(1253, 766));
    EXPECT_EQ(window->pos(), QPoint(0, 0));
    EXPECT_EQ(control<QStatusBar>("StatusBar1")->height(), 19);

    auto* tabs = control<QTabWidget>("PageControl1");
    ASSERT_NE(tabs, nullptr);
    const std::pair<const char*, const char*> expectedTabs[] = {
        {"TabSheet1", "串口命令"},
        {"TabSheet2", "字体点阵"},
        {"TabSheet3", "图形处理"},
        {"TabSheet4", "帮助与说明"},
    };
    ASSERT_EQ(tabs->count(), 4);
    for (int index = 0; index < 4; ++index) {
        EXPECT_EQ(tabs->widget(index)->objectName(),
                  QString::fromLatin1(expectedTabs[index].first));
        EXPECT_EQ(tabs->tabText(index), QString::fromUtf8(expectedTabs[index].second));
    }
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(WindowLayoutTest, EveryControlStartsWithItsKindTabTextAndState) {
    const auto* tabs = control<QTabWidget>("PageControl1");
    ASSERT_NE(tabs, nullptr);
    for (const auto& row : kControls) {
        SCOPED_TRACE(row.name);
        const auto name = QString::fromLatin1(row.name);
        const auto found = window->findChildren<QWidget*>(name);
        ASSERT_EQ(found.size(), 1);
        const QWidget* widget = found.front();
        EXPECT_TRUE(row.isKind(widget)) << widget->metaObject()->className();
        EXPECT_TRUE(tabs->widget(row.tab)->isAncestorOf(widget));
        if (row.text != nullptr) {
            EXPECT_EQ(shownText(widget), QString::fromUtf8(row.text));
        }
        EXPECT_EQ(widget->isEnabled(), row.state != State::Disabled);
        EXPECT_EQ(widget->isHidden(), row.state == State::Hidden);
    }
}

TEST_F(WindowLayoutTest, ChoiceControlsStartWithTheirItemsAndSelection) {
    const auto* btl = control<QComboBox>("btl");
    const auto* cb1 = control<QComboBox>("cb1");
    const auto* cbcomm = control<QComboBox>("cbcomm");
    const auto* pb1 = control<QProgressBar>("pb1");
    ASSERT_TRUE(btl && cb1 && cbcomm && pb1);
    EXPECT_EQ(itemsOf(*btl),
              (QStringList{"2400", "4800", "9600", "19200", "38400", "57600", "115200", "256000"}));
    EXPECT_EQ(btl->currentIndex(), 6);
    EXPECT_EQ(itemsOf(*cb1), (QStringList{"24", "32", "48", "64"}));
    // Any port path can be typed, and a dot size besides the listed ones.
    EXPECT_TRUE(cbcomm->isEditable());
    EXPECT_TRUE(cb1->isEditable());
    EXPECT_TRUE(control<QRadioButton>("rb1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("rb2")->isChecked());
    EXPECT_EQ(pb1->minimum(), 0);
    EXPECT_EQ(pb1->maximum(), 100);
    EXPECT_EQ(pb1->value(), 0);
}

TEST_F(WindowLayoutTest, GridsStartEmptyWithTheFontTableSeventeenRowsHigh) {
    auto* sg1 = control<QTableWidget>("sg1");
    auto* sg2 = control<QTableWidget>("sg2");
    ASSERT_TRUE(sg1 && sg2);
    for (const QTableWidget* grid : {sg1, sg2}) {
        SCOPED_TRACE(grid->objectName().toStdString());
        EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_EQ(grid->selectionMode(), QAbstractItemView::ContiguousSelection);
        EXPECT_EQ(grid->columnWidth(0), 64);
    }
    EXPECT_EQ(gridRowCount(*sg2), 17);
    EXPECT_EQ(sg2->rowHeight(15), 18);
    EXPECT_EQ(sg2->horizontalHeader()->height(), 18);
    EXPECT_EQ(sg2->font().family(), QStringLiteral("微软雅黑"));
    EXPECT_EQ(sg2->font().pointSize(), 9);
}

TEST_F(WindowLayoutTest, PanelsAndImagesHaveTheirSizes) {
    struct SizeRow {
        const char* name;
        int width; // 0: set by the window's size
        int height;
    };
    const SizeRow sizes[] = {
        {"Panel1", 217, 0},    {"Panel2", 288, 0}, {"rxmemo", 0, 256},   {"Panel4", 0, 113},
        {"Panel5", 0, 193},    {"Image1", 86, 62}, {"Image2", 481, 481}, {"Image3", 633, 305},
        {"picmemo", 401, 305}, {"pcolor", 49, 41},
    };
    auto* tabs = control<QTabWidget>("PageControl1");
    ASSERT_NE(tabs, nullptr);
    window->show();
    for (const auto& row : sizes) {
        SCOPED_TRACE(row.name);
        QWidget* widget = control(row.name);
        ASSERT_NE(widget, nullptr);
        for (int index = 0; index < tabs->count(); ++index) {
            if (tabs->widget(index)->isAncestorOf(widget)) {
                tabs->setCurrentIndex(index);
            }
        }
        QApplication::processEvents();
        EXPECT_TRUE(widget->isVisible());
        if (row.width != 0) {
            EXPECT_EQ(widget->width(), row.width);
        }
        if (row.height != 0) {
            EXPECT_EQ(widget->height(), row.height);
        }
    }
}

} // namespace
} // namespace lumivert::testing
