#include "app/window/string_grid.h"

#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace lumivert {
namespace {

// A page-list-shaped grid: three columns, the heading row and 128 rows.
class StringGridTest : public ::testing::Test {
protected:
    StringGridTest() {
        setUpStringGrid(grid, 24);
        setGridSize(grid, 3, 129);
    }
    QTableWidget grid;
};

TEST_F(StringGridTest, AddressesCellsWithRowZeroAsTheHeadingRow) {
    struct Cell {
        int column;
        int row;
        const char* text;
    };
    const Cell cells[] = {{0, 0, "批界面序号"}, {2, 0, "内容"},  {0, 1, "1"},
                          {1, 1, "描述"},       {0, 128, "128"}, {2, 128, "DS12(0,0,'x',15);"}};
    for (const auto& cell : cells) {
        setGridCell(grid, cell.column, cell.row, QString::fromUtf8(cell.text));
    }
    for (const auto& cell : cells) {
        SCOPED_TRACE(::testing::Message() << cell.column << "," << cell.row);
        EXPECT_EQ(gridCell(grid, cell.column, cell.row), QString::fromUtf8(cell.text));
    }
    EXPECT_EQ(gridRowCount(grid), 129);
    EXPECT_EQ(grid.horizontalHeaderItem(2)->text(), QStringLiteral("内容"));
    EXPECT_EQ(grid.item(127, 2)->text(), QStringLiteral("DS12(0,0,'x',15);"));
    EXPECT_EQ(gridCell(grid, 1, 2), QString());
}

TEST_F(StringGridTest, IgnoresCellsOutsideTheGrid) {
    const std::pair<int, int> outside[] = {{-1, 1}, {3, 1}, {0, -1}, {0, 129}};
    for (const auto& [column, row] : outside) {
        SCOPED_TRACE(::testing::Message() << column << "," << row);
        setGridCell(grid, column, row, QStringLiteral("x"));
        EXPECT_EQ(gridCell(grid, column, row), QString());
    }
}

TEST_F(StringGridTest, CellsCannotBeEditedAndRowHeadingsCannotBeSelected) {
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid.selectionMode(), QAbstractItemView::ContiguousSelection);
    for (int column = 0; column < grid.columnCount(); ++column) {
        SCOPED_TRACE(column);
        EXPECT_EQ(grid.columnWidth(column), 64);
        for (int row : {0, 127}) {
            const auto flags = grid.item(row, column)->flags();
            EXPECT_FALSE(flags & Qt::ItemIsEditable);
            EXPECT_EQ(bool(flags & Qt::ItemIsSelectable), column != 0);
        }
    }
}

TEST_F(StringGridTest, ResizingKeepsTheCellsThatStayAndEmptiesNewOnes) {
    setGridCell(grid, 1, 5, QStringLiteral("kept"));
    setGridCell(grid, 2, 100, QStringLiteral("dropped"));
    setGridSize(grid, 2, 10);
    setGridSize(grid, 4, 129);
    EXPECT_EQ(gridCell(grid, 1, 5), QStringLiteral("kept"));
    EXPECT_EQ(gridCell(grid, 2, 100), QString());
    setGridCell(grid, 3, 128, QStringLiteral("new"));
    EXPECT_EQ(gridCell(grid, 3, 128), QStringLiteral("new"));
    EXPECT_FALSE(grid.item(127, 3)->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(grid.item(127, 0)->flags() & Qt::ItemIsSelectable);
}

} // namespace
} // namespace lumivert

namespace lumivert {
namespace {

// The user's moves of the current cell, told apart from those Qt and the program make.
class StringGridInputTest : public ::testing::Test {
protected:
    StringGridInputTest() {
        setUpStringGrid(grid, 20);
        setGridSize(grid, 4, 6);
        grid.resize(400, 200);
        grid.show();
    }

    void click(int column, int row) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualItemRect(grid.item(row - 1, column)).center());
    }

    StringGrid grid;
    QSignalSpy clicks{&grid, &StringGrid::cellClickedByUser};
    QSignalSpy keyMoves{&grid, &StringGrid::currentCellMovedByKeyboard};
    QSignalSpy mouseMoves{&grid, &StringGrid::currentCellMovedByMouse};
};

TEST_F(StringGridInputTest, ReportsClicksAndMovesOfTheUserOnly) {
    grid.setCurrentCell(2, 2);
    setGridSize(grid, 4, 8);
    grid.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(clicks.count() + keyMoves.count() + mouseMoves.count(), 0);

    click(1, 3);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(mouseMoves.count(), 1);
    click(1, 3); // the current cell again: a click, no move
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(mouseMoves.count(), 1);

    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(keyMoves.count(), 1);
    EXPECT_EQ(grid.currentRow(), 3);
    QTest::keyClick(&grid, Qt::Key_Left); // column 0 is never current: nothing moves
    EXPECT_EQ(keyMoves.count(), 1);
    EXPECT_EQ(grid.currentColumn(), 1);

    click(0, 2);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(mouseMoves.count(), 1);
    EXPECT_EQ(grid.currentColumn(), 1);
}

} // namespace
} // namespace lumivert
