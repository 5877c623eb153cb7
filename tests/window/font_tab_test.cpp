#include "app/window/image_box.h"
#include "tests/window/window_fixture.h"

#include <QComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <fstream>

namespace lumivert::testing {
namespace {

// The font tab of a shown, active window.
class FontTabTest : public WindowTest {
protected:
    void SetUp() override {
        window = openWindow();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        grid = window->findChild<QTableWidget*>("sg2");
        ASSERT_NE(grid, nullptr);
    }

    template <typename Control> Control* control(const char* name) {
        auto* found = window->findChild<Control*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void showFontTab() {
        control<QTabWidget>("PageControl1")->setCurrentIndex(1);
        QCoreApplication::processEvents();
    }

    QString cell(int column, int row) { return grid->item(row - 1, column)->text(); }

    void click(int column, int row) {
        showFontTab();
        const QRect place = grid->visualItemRect(grid->item(row - 1, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, place.center());
    }

    void press(const char* button) { control<QPushButton>(button)->click(); }

    // Whether all eleven controls of the font editor are enabled; fails when they differ.
    bool editorEnabled() {
        const char* const names[] = {"zt",  "zw",  "zh",      "xp",      "yp",   "cb1",
                                     "rb1", "rb2", "Button3", "Button4", "Memo3"};
        const bool first = control<QWidget>(names[0])->isEnabled();
        for (const char* name : names) {
            EXPECT_EQ(control<QWidget>(name)->isEnabled(), first) << name;
        }
        return first;
    }

    std::unique_ptr<TForm3> window;
    QTableWidget* grid = nullptr;
};

TEST_F(FontTabTest, ShowsTheDefaultRowsWithTheEditorDisabledEvenWhenTheGridTakesFocus) {
    EXPECT_FALSE(editorEnabled());
    EXPECT_EQ(grid->columnCount(), 12);
    EXPECT_EQ(grid->horizontalHeaderItem(9)->text(), QStringLiteral("状态"));
    EXPECT_EQ(cell(4, 2), QStringLiteral("宋体"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("12"));

    showFontTab();
    grid->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    ASSERT_TRUE(grid->hasFocus());
    EXPECT_FALSE(editorEnabled());
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_FALSE(grid->hasFocus()) << "Tab stays in the grid";
    EXPECT_FALSE(editorEnabled());
    for (int row = 1; row <= 16; ++row) {
        EXPECT_EQ(cell(9, row), QString()) << row;
    }
    control<QTabWidget>("PageControl1")->setCurrentIndex(0);
    showFontTab();
    EXPECT_FALSE(editorEnabled());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(FontTabTest, AClickChoosesARowAndASecondChoiceWaitsForTheCommit) {
    click(3, 2);
    EXPECT_TRUE(editorEnabled());
    EXPECT_EQ(cell(9, 2), QStringLiteral("编辑中"));
    EXPECT_EQ(control<QLineEdit>("zw")->text(), QStringLiteral("12"));
    EXPECT_EQ(control<QLineEdit>("zh")->text(), QStringLiteral("24"));
    EXPECT_EQ(control<QComboBox>("cb1")->currentText(), QStringLiteral("24"));
    EXPECT_TRUE(control<QRadioButton>("rb2")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("rb1")->isChecked());
    EXPECT_EQ(control<QPlainTextEdit>("Memo3")->toPlainText(), QStringLiteral(" "));

    click(5, 3);
    EXPECT_EQ(control<QLineEdit>("zw")->text(), QStringLiteral("12")) << "row 3 was loaded";
    EXPECT_EQ(cell(9, 3), QString());

    control<QLineEdit>("zh")->setText(QStringLiteral("30"));
    control<QPlainTextEdit>("Memo3")->setPlainText(QStringLiteral("中\n国"));
    press("Button4");
    EXPECT_FALSE(editorEnabled());
    EXPECT_EQ(cell(6, 2), QStringLiteral("30"));
    EXPECT_EQ(cell(3, 2), QStringLiteral("中国"));
    EXPECT_EQ(cell(9, 2), QString());

    click(5, 3); // the current cell since the ignored click: chosen all the same
    EXPECT_TRUE(editorEnabled());
    EXPECT_EQ(cell(9, 3), QStringLiteral("编辑中"));
    EXPECT_EQ(control<QLineEdit>("zw")->text(), QStringLiteral("32"));
    EXPECT_TRUE(control<QRadioButton>("rb1")->isChecked());

    press("Button4");
    click(5, 3); // the row just committed, by its current cell
    EXPECT_TRUE(editorEnabled());
    EXPECT_EQ(cell(9, 3), QStringLiteral("编辑中"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(FontTabTest, TheKeyboardMovesTheChoiceButTheFirstColumnNeverBecomesCurrent) {
    click(0, 4);
    EXPECT_FALSE(editorEnabled());
    EXPECT_NE(grid->currentColumn(), 0);

    click(1, 4);
    press("Button4");
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->currentRow() + 1, 5);
    EXPECT_TRUE(editorEnabled());
    EXPECT_EQ(cell(9, 5), QStringLiteral("编辑中"));
    EXPECT_EQ(control<QLineEdit>("zh")->text(), QStringLiteral("48"));

    press("Button4");
    QTest::keyClick(grid, Qt::Key_Left);
    EXPECT_EQ(grid->currentColumn(), 1);
    EXPECT_FALSE(editorEnabled()) << "a key that moved nothing chose a row";
}

TEST_F(FontTabTest, RowsNineToSixteenLoadEmptyValuesAndAreNeverSaved) {
    control<QRadioButton>("rb2")->setChecked(true);
    click(2, 12);
    EXPECT_TRUE(editorEnabled());
    EXPECT_EQ(control<QLineEdit>("zw")->text(), QString());
    EXPECT_TRUE(control<QRadioButton>("rb1")->isChecked());
    control<QComboBox>("cb1")->setCurrentText(QStringLiteral("32"));
    press("Button4");
    EXPECT_EQ(cell(1, 12), QStringLiteral("32"));
    window.reset();
    EXPECT_FALSE(std::filesystem::exists("src/Font12.str"));
    EXPECT_TRUE(std::filesystem::exists("src/Font8.str"));
}

TEST_F(FontTabTest, ACommitWithADotSizeThatIsNotANumberLeavesTheEditorOpen) {
    click(2, 1);
    control<QComboBox>("cb1")->setCurrentText(QStringLiteral("x"));
    control<QLineEdit>("zh")->setText(QStringLiteral("20"));
    press("Button4");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("'x' is not a valid integer value"));
    EXPECT_EQ(cell(2, 1), QStringLiteral("x"));
    EXPECT_EQ(cell(6, 1), QStringLiteral("20"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("24"));
    EXPECT_EQ(cell(9, 1), QString());
    EXPECT_TRUE(editorEnabled());
    click(2, 3); // no row is being edited any more
    EXPECT_EQ(cell(9, 3), QStringLiteral("编辑中"));
}

TEST_F(FontTabTest, TheHiddenButtonOpensTheEditorWithoutARow) {
    press("Button12");
    EXPECT_TRUE(editorEnabled());
    control<QLineEdit>("zh")->setText(QStringLiteral("99"));
    press("Button4");
    EXPECT_TRUE(editorEnabled());
    for (int row = 1; row <= 8; ++row) {
        EXPECT_NE(cell(6, row), QStringLiteral("99")) << row;
    }
}

TEST_F(FontTabTest, TheFontDialogGivesOnlyItsFaceName) {
    std::vector<QFont> opened; // the font each opening showed
    window->setFontChooser([&](QFontDialog& dialog) {
        opened.push_back(dialog.currentFont());
        dialog.setCurrentFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 20));
        return opened.size() != 2; // the second choice is cancelled
    });
    click(1, 1);
    press("Button3");
    EXPECT_EQ(control<QLabel>("zt")->text(), QStringLiteral("WenQuanYi Micro Hei"));
    EXPECT_EQ(cell(4, 1), QStringLiteral("宋体")) << "the row changes only at the commit";
    EXPECT_EQ(control<QLineEdit>("zh")->text(), QStringLiteral("24"));
    control<QLabel>("zt")->setText(QStringLiteral("宋体"));
    press("Button3");
    EXPECT_EQ(control<QLabel>("zt")->text(), QStringLiteral("宋体"));
    press("Button3");
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(opened[0].pointSize(), 8); // Tahoma, or the face that stands in for it
    EXPECT_EQ(opened[1].family(), QStringLiteral("WenQuanYi Micro Hei"));
    EXPECT_EQ(opened[1].pointSize(), 20);
    EXPECT_EQ(opened[2].family(), QStringLiteral("WenQuanYi Micro Hei")) << "the last confirmed";
    press("Button4");
    EXPECT_EQ(cell(4, 1), QStringLiteral("WenQuanYi Micro Hei"));
}

TEST_F(FontTabTest, FourPressesOfRightMoveTheTextAndWriteNothing) {
    const QString received = control<QPlainTextEdit>("rxmemo")->toPlainText();
    for (int i = 0; i < 4; ++i) {
        press("Button9");
    }
    EXPECT_EQ(control<QLineEdit>("xp")->text(), QStringLiteral("4"));
    EXPECT_EQ(window->workbench().writeCursor, 72);
    EXPECT_TRUE(window->workbench().image.isErased(0, kImageSize));
    EXPECT_EQ(control<QPlainTextEdit>("rxmemo")->toPlainText(),
              received + QStringLiteral("\n24\n24\n24\n24\n"));

    const QImage& small = static_cast<ImageBox*>(control<QWidget>("Image1"))->canvas();
    EXPECT_EQ(small.size(), QSize(86, 62));
    EXPECT_EQ(small.pixel(0, 0), qRgb(0, 0, 0)); // the frame
    EXPECT_EQ(small.pixel(30, 30), qRgb(255, 255, 255));
    const QImage& large = static_cast<ImageBox*>(control<QWidget>("Image2"))->canvas();
    EXPECT_EQ(large.pixel(18 + 9, 18 + 9), qRgb(0xCC, 0xCC, 0xCC)) << "an empty dot";
    int inkDots = 0;
    for (int x = 1; x <= 24; ++x) {
        for (int y = 1; y <= 24; ++y) {
            inkDots += large.pixel(x * 18 + 9, y * 18 + 9) == qRgb(0, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_GT(inkDots, 100);

    press("Button5");
    EXPECT_EQ(control<QLineEdit>("yp")->text(), QStringLiteral("-1"));
    press("Button8");
    EXPECT_EQ(control<QLineEdit>("xp")->text(), QStringLiteral("3"));
    press("Button6");
    EXPECT_EQ(control<QLineEdit>("yp")->text(), QStringLiteral("0"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(FontTabTest, NudgesAndRendersReportWhatTheyCannotDo) {
    const QString received = control<QPlainTextEdit>("rxmemo")->toPlainText();
    control<QLineEdit>("xp")->setText(QStringLiteral("abc"));
    press("Button9");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("'abc' is not a valid integer value"));
    EXPECT_EQ(control<QLineEdit>("xp")->text(), QStringLiteral("abc"));
    EXPECT_EQ(control<QPlainTextEdit>("rxmemo")->toPlainText(), received) << "a render ran";

    control<QLineEdit>("xp")->setText(QStringLiteral("0"));
    control<QComboBox>("cb1")->setCurrentText(QStringLiteral("-1"));
    press("Button2");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[1], QStringLiteral("Division by zero"));
    EXPECT_EQ(window->workbench().writeCursor, 0);
}

TEST_F(FontTabTest, TheRowsGoToTheFontFilesAtTheEndAndComeBack) {
    click(2, 7);
    control<QLineEdit>("xp")->setText(QStringLiteral("-3"));
    press("Button4");
    click(2, 8); // saved while being edited
    window->close();
    window.reset();
    for (int n = 1; n <= 8; ++n) {
        std::ifstream file("src/Font" + std::to_string(n) + ".str", std::ios::binary);
        std::string content((std::istreambuf_iterator<char>(file)), {});
        EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), 12) << n;
    }

    window = openWindow();
    grid = window->findChild<QTableWidget*>("sg2");
    EXPECT_EQ(cell(7, 7), QStringLiteral("-3"));
    EXPECT_EQ(cell(9, 8), QString());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

} // namespace
} // namespace lumivert::testing
