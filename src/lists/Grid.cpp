#include "lists/Grid.h"

#include "lists/GridModel.h"
#include "platform/Twips.h"

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
        Q_EMIT cellClicked(index.row() + 1, index.column());
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
    scheduleViewUpdate();
}

void Grid::setCurrentColumn(int column) {
    currentColumn_ = std::clamp(column, 0, columnCount() - 1);
    scheduleViewUpdate();
}

// The view learns the current cell and the top row once per pass of the event loop, however many
// rows came meanwhile. Placing a row on screen makes the view recount the positions of all rows
// added since it last did, a cost that grows with the list; doing it per added row would make
// each row dearer than the one before.
void Grid::scheduleViewUpdate() {
    if (viewUpdatePending_)
        return;
    viewUpdatePending_ = true;
    QMetaObject::invokeMethod(this, &Grid::updateView, Qt::QueuedConnection);
}

void Grid::updateView() {
    viewUpdatePending_ = false;
    applyTopRow();
    if (currentRow_ < 1 || currentRow_ > model_->rowCount()) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex current = model_->index(currentRow_ - 1, currentColumn_);
    if (selectionModel()->currentIndex() != current)
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
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
    scheduleViewUpdate();
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
    scheduleViewUpdate();
}

void Grid::setColumnWidthTwips(int column, int twips) {
    setColumnWidth(column, Twips(this).toPixels(twips));
}
