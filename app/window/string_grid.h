#pragma once

#include <QPersistentModelIndex>
#include <QString>
#include <QTableWidget>

namespace lumivert {

// The window's two string grids (the page list and the font table) on a QTableWidget.
//
// A grid has one heading row and one first column of row headings. The heading row is the
// table's horizontal header, so it stays in place while the rows scroll; the first column
// is an ordinary column whose cells can neither be selected nor become the current cell.
// Cells are addressed as the grid shows them: (column, row), with row 0 the heading row and
// column 0 the first column. No cell can be edited in place; a range of cells can be
// selected; columns are 64 pixels; the Tab key leaves the grid.

// A string grid that tells the user's moves of its current cell apart from those Qt makes by
// itself: Qt makes a cell current when the grid takes focus (a tab switch, the Tab key) or
// when the program fills the grid, and none of these is the user choosing a cell.
class StringGrid : public QTableWidget {
    Q_OBJECT

public:
    explicit StringGrid(QWidget* parent = nullptr);

signals:
    // The user clicked a selectable cell, the current one included.
    void cellClickedByUser();
    // The user moved the current cell with the keyboard.
    void currentCellMovedByKeyboard();
    // The user moved the current cell with the mouse, by a press or a drag.
    void currentCellMovedByMouse();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    enum class Input { none, keyboard, mouse };
    Input input_ = Input::none;
    QPersistentModelIndex pressed_;
};

// Gives the grid its look and behaviour, with rows (the heading row included) of
// `rowHeight` pixels.
void setUpStringGrid(QTableWidget& grid, int rowHeight);

// Sets the number of columns and of rows, the heading row counted. Every cell exists and
// keeps its text where it stays; new cells are empty.
void setGridSize(QTableWidget& grid, int columns, int rows);

// The number of rows, the heading row counted.
int gridRowCount(const QTableWidget& grid);

// The text of a cell; empty outside the grid.
QString gridCell(const QTableWidget& grid, int column, int row);

// Sets the text of a cell; a cell outside the grid is ignored.
void setGridCell(QTableWidget& grid, int column, int row, const QString& text);

} // namespace lumivert
