#include "app/window/string_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableWidget>
#include <utility>

namespace lumivert {
namespace {

constexpr int kColumnWidth = 64;

bool inside(const QTableWidget& grid, int column, int row) {
    return column >= 0 && column < grid.columnCount() && row >= 0 && row <= grid.rowCount();
}

// Row headings look like the heading row; they are not enabled, so that neither the mouse
// nor the keyboard makes one the current cell, but keep the text colour of enabled cells.
// Other cells can be selected but not edited.
QTableWidgetItem* makeCell(const QTableWidget& grid, int column) {
    auto* cell = new QTableWidgetItem;
    if (column == 0) {
        cell->setFlags(Qt::NoItemFlags);
        cell->setBackground(grid.palette().button());
        cell->setForeground(grid.palette().text());
    } else {
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    return cell;
}

QTableWidgetItem* headingCell(const QString& text) {
    auto* cell = new QTableWidgetItem(text);
    cell->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return cell;
}

} // namespace

StringGrid::StringGrid(QWidget* parent) : QTableWidget(parent) {}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    const Input saved = std::exchange(input_, Input::keyboard);
    QTableWidget::keyPressEvent(event);
    input_ = saved;
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    pressed_ =
        event->button() == Qt::LeftButton ? indexAt(event->position().toPoint()) : QModelIndex();
    const Input saved = std::exchange(input_, Input::mouse);
    QTableWidget::mousePressEvent(event);
    input_ = saved;
}

void StringGrid::mouseMoveEvent(QMouseEvent* event) {
    const Input saved = std::exchange(input_, Input::mouse);
    QTableWidget::mouseMoveEvent(event);
    input_ = saved;
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event) {
    const Input saved = std::exchange(input_, Input::mouse);
    QTableWidget::mouseReleaseEvent(event);
    input_ = saved;
    const QModelIndex released = indexAt(event->position().toPoint());
    const bool clicked = event->button() == Qt::LeftButton && released.isValid() &&
                         released == pressed_ && (released.flags() & Qt::ItemIsSelectable);
    pressed_ = QModelIndex();
    if (clicked) {
        emit cellClickedByUser();
    }
}

void StringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableWidget::currentChanged(current, previous);
    if (!current.isValid() || current == previous) {
        return;
    }
    if (input_ == Input::keyboard) {
        emit currentCellMovedByKeyboard();
    } else if (input_ == Input::mouse) {
        emit currentCellMovedByMouse();
    }
}

void setUpStringGrid(QTableWidget& grid, int rowHeight) {
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid.setSelectionBehavior(QAbstractItemView::SelectItems);
    grid.setShowGrid(true);
    grid.setWordWrap(false);
    grid.setTabKeyNavigation(false);
    grid.verticalHeader()->hide();
    grid.verticalHeader()->setMinimumSectionSize(1);
    grid.verticalHeader()->setDefaultSectionSize(rowHeight);
    grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    auto* heading = grid.horizontalHeader();
    heading->setMinimumSectionSize(1);
    heading->setDefaultSectionSize(kColumnWidth);
    heading->setSectionResizeMode(QHeaderView::Fixed);
    heading->setFixedHeight(rowHeight);
    heading->setHighlightSections(false);
    heading->setSectionsClickable(false);
}

void setGridSize(QTableWidget& grid, int columns, int rows) {
    const int oldColumns = grid.columnCount();
    const int oldRows = grid.rowCount();
    grid.setColumnCount(columns);
    grid.setRowCount(rows > 1 ? rows - 1 : 0);
    for (int column = 0; column < columns; ++column) {
        if (grid.horizontalHeaderItem(column) == nullptr) {
            grid.setHorizontalHeaderItem(column, headingCell(QString()));
        }
        const int firstNewRow = column < oldColumns ? oldRows : 0;
        for (int row = firstNewRow; row < grid.rowCount(); ++row) {
            grid.setItem(row, column, makeCell(grid, column));
        }
    }
}

int gridRowCount(const QTableWidget& grid) {
    return grid.rowCount() + 1;
}

QString gridCell(const QTableWidget& grid, int column, int row) {
    if (!inside(grid, column, row)) {
        return {};
    }
    const auto* cell = row == 0 ? grid.horizontalHeaderItem(column) : grid.item(row - 1, column);
    return cell == nullptr ? QString() : cell->text();
}

void setGridCell(QTableWidget& grid, int column, int row, const QString& text) {
    if (!inside(grid, column, row)) {
        return;
    }
    auto* cell = row == 0 ? grid.horizontalHeaderItem(column) : grid.item(row - 1, column);
    if (cell != nullptr) {
        cell->setText(text);
    }
}

} // namespace lumivert
