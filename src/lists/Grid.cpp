#include "lists/Grid.h"

#include "lists/GridModel.h"

#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

Grid::Grid(QWidget* parent, int columns)
    : QTableView(parent), model_(new GridModel(columns, this)) {
    setObjectName(QStringLiteral("Grid1"));
    setModel(model_);
    model_->setFixedColumnBrush(palette().button());
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    // The windows decide when the list scrolls; the current cell must not drag it along.
    setAutoScroll(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* rowsHeader = verticalHeader();
    rowsHeader->hide();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setMinimumSectionSize(1);
    rowsHeader->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* columnsHeader = horizontalHeader();
    columnsHeader->setSectionResizeMode(QHeaderView::Interactive);
    columnsHeader->setStretchLastSection(false);
    columnsHeader->setHighlightSections(false);
    columnsHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    currentRow_ = current.row() + 1;
                    currentColumn_ = current.column();
                }
            });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!applyingTopRow_)
            topRow_ = value + 1;
    });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        emit cellClicked(index.row() + 1, index.column());
    });
}

int Grid::rowCount() const {
    return model_->rowCount() + 1;
}

void Grid::setRowCount(int rows) {
    model_->resizeRows(std::max(rows, 1) - 1);
    currentRow_ = std::min(currentRow_, rowCount() - 1);
    if (rowCount() == 1)
        setFirstVisibleRow(1);
}

int Grid::columnCount() const {
    return model_->columnCount();
}

void Grid::setCurrentRow(int row) {
    currentRow_ = std::clamp(row, 0, rowCount() - 1);
    showCurrentCell();
}

void Grid::setCurrentColumn(int column) {
    currentColumn_ = std::clamp(column, 0, columnCount() - 1);
    showCurrentCell();
}

void Grid::showCurrentCell() {
    if (currentRow_ < 1) {
        selectionModel()->clear();
        return;
    }
    selectionModel()->setCurrentIndex(model_->index(currentRow_ - 1, currentColumn_),
                                      QItemSelectionModel::ClearAndSelect);
}

QString Grid::currentText() const {
    return cellText(currentRow_, currentColumn_);
}

void Grid::setCurrentText(const QString& text) {
    setCellText(currentRow_, currentColumn_, text);
}

QString Grid::cellText(int row, int column) const {
    return row == 0 ? model_->headerText(column) : model_->cellText(row - 1, column);
}

void Grid::setCellText(int row, int column, const QString& text) {
    if (row == 0)
        model_->setHeaderText(column, text);
    else
        model_->setCellText(row - 1, column, text);
}

void Grid::addRow(const QString& tabText) {
    model_->appendRow(tabText);
}

void Grid::setFirstVisibleRow(int row) {
    topRow_ = std::max(row, 1);
    applyTopRow();
}

void Grid::applyTopRow() {
    applyingTopRow_ = true;
    verticalScrollBar()->setValue(topRow_ - 1);
    applyingTopRow_ = false;
}

void Grid::updateGeometries() {
    applyingTopRow_ = true;
    QTableView::updateGeometries();
    applyingTopRow_ = false;
    // The scroll range follows the rows and the window size; the chosen top row is kept.
    applyTopRow();
}

int Grid::twipsToPixels(int twips) const {
    return (twips * logicalDpiX() + 720) / 1440;
}

void Grid::setColumnWidthTwips(int column, int twips) {
    setColumnWidth(column, twipsToPixels(twips));
}
