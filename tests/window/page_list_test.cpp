#include "common/text_file.h"
#include "tests/window/window_fixture.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <fstream>

namespace lumivert::testing {
namespace {

const std::filesystem::path kSrc = "src";

void writePageFile(int page, const std::string& bytes) {
    std::ofstream(kSrc / ("Page" + std::to_string(page) + ".str"), std::ios::binary) << bytes;
}

std::string pageFile(int page) {
    return readWholeFile(kSrc / ("Page" + std::to_string(page) + ".str"));
}

// The page list of a shown, active window.
class PageListTest : public WindowTest {
protected:
    void open() {
        window = openWindow();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        grid = window->findChild<QTableWidget*>("sg1");
        label = window->findChild<QLabel*>("Label3");
        description = window->findChild<QLineEdit*>("Edit1");
        editor = window->findChild<QPlainTextEdit*>("gscript");
    }

    void close() {
        window->close();
        window.reset();
    }

    QString cell(int column, int row) const { return grid->item(row - 1, column)->text(); }

    void click(int column, int row) {
        QTableWidgetItem* item = grid->item(row - 1, column);
        grid->scrollToItem(item);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(item).center());
    }

    void store() { window->findChild<QPushButton*>("Button7")->click(); }

    std::unique_ptr<TForm3> window;
    QTableWidget* grid = nullptr;
    QLabel* label = nullptr;
    QLineEdit* description = nullptr;
    QPlainTextEdit* editor = nullptr;
};

// Without page files the rows hold their numbers; at exit each page is written as its
// number and two empty lines, which the next run reads back as one space each.
TEST_F(PageListTest, UnusedPagesAreWrittenAtExitAndReadBack) {
    open();
    EXPECT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->rowCount(), 128);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral("批界面序号"));
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("描述"));
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), QStringLiteral("内容"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("1"));
    EXPECT_EQ(cell(0, 128), QStringLiteral("128"));
    EXPECT_EQ(cell(2, 128), QString());
    close();
    EXPECT_EQ(pageFile(7), "7\r\n\r\n\r\n");

    open();
    EXPECT_EQ(cell(1, 7), QStringLiteral(" "));
    close();
    EXPECT_EQ(pageFile(7), "7\r\n \r\n \r\n");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(PageListTest, AChosenPageIsEditedAndStoredWithItsLinesTrimmed) {
    writePageFile(5, "5\r\nMenu\r\n\xB2\xCB\xB5\xA5|R|ACLS(0);\r\n"); // 菜单
    open();
    click(1, 5);
    EXPECT_EQ(label->text(), QStringLiteral("5"));
    EXPECT_EQ(description->text(), QStringLiteral("Menu"));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("菜单\nCLS(0);"));

    description->setText(QStringLiteral("Main"));
    editor->setPlainText(QStringLiteral("  AB \nCD\t"));
    store();
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("AB\nCD"));
    EXPECT_EQ(cell(1, 5), QStringLiteral("Main"));
    EXPECT_EQ(cell(2, 5), QStringLiteral("AB|R|ACD"));

    click(2, 6);
    EXPECT_EQ(label->text(), QStringLiteral("6"));
    EXPECT_EQ(editor->toPlainText(), QString());
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(label->text(), QStringLiteral("5")) << "a keyboard move chooses the page too";
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("AB\nCD"));
    close();
    EXPECT_EQ(pageFile(5), "5\r\nMain\r\nAB|R|ACD\r\n");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// A "|" that is the second byte of a character starts no line break.
TEST_F(PageListTest, TheSecondByteOfACharacterIsNoMarker) {
    writePageFile(2, "2\r\n\r\n\x81|R|A\r\n");
    open();
    click(1, 2);
    EXPECT_EQ(editor->toPlainText().size(), 4);
    EXPECT_TRUE(editor->toPlainText().endsWith(QStringLiteral("R|A")));
}

// The page number shown decides the row: a file holding only 12 stores into row 12.
TEST_F(PageListTest, StoresIntoTheRowOfThePageNumberShown) {
    writePageFile(3, "12\r\n");
    writePageFile(4, "0\r\n\r\n\r\n");
    writePageFile(9, "9\r\na\r\nb\r\nlost\r\n");
    open();
    store();
    ASSERT_EQ(messages, QStringList{QStringLiteral("'' is not a valid integer value")});

    click(1, 3);
    EXPECT_EQ(label->text(), QStringLiteral("12"));
    description->setText(QStringLiteral("moved"));
    editor->setPlainText(QStringLiteral("X"));
    store();
    EXPECT_EQ(cell(1, 12), QStringLiteral("moved"));
    EXPECT_EQ(cell(2, 12), QStringLiteral("X"));
    EXPECT_EQ(cell(1, 3), QString());

    click(1, 4);
    store();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[1], QStringLiteral("批界面序号 0 不在 1 到 128 之间，未存入列表"));
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("描述"));

    std::filesystem::remove_all(kSrc);
    close();
    EXPECT_EQ(pageFile(9), "9\r\na\r\nb\r\n") << "the src folder is made again at exit";
}

// Only the user's choice of a cell fills the page editor: not the grid taking focus, not a
// tab switch, and the first column never becomes current.
TEST_F(PageListTest, TheGridTakingFocusLeavesTheEditorAlone) {
    open();
    editor->setPlainText(QStringLiteral("keep"));
    grid->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(grid->hasFocus());
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("keep"));
    EXPECT_EQ(label->text(), QString());

    auto* tabs = window->findChild<QTabWidget*>("PageControl1");
    tabs->setCurrentIndex(1);
    tabs->setCurrentIndex(0);
    QCoreApplication::processEvents();
    click(0, 8);
    EXPECT_EQ(label->text(), QString());
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("keep"));
}

} // namespace
} // namespace lumivert::testing
