#include "ui/lists/Grid.h"

#include "ui/lists/GridModel.h"
#include "ui/platform/Twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

Grid::Grid(QWidget* parent, int columns)
    : QAbstractItemView(parent), model_(new GridModel(columns, this)),
      header_(new QHeaderView(Qt::Horizontal, this)) {
    setObjectName(QStringLiteral("Grid1"));
    setModel(model_);
    model_->setFixedColumnBrush(palette().button());
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // The windows decide when the list scrolls; the current cell must not drag it along.
    setAutoScroll(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    header_->setModel(model_);
    header_->setSectionResizeMode(QHeaderView::Interactive);
    header_->setStretchLastSection(false);
    header_->setHighlightSections(false);
    header_->setSectionsClickable(false);
    header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const auto relayOut = [this] {
        updateGeometries();
        viewport()->update();
    };
    connect(header_, &QHeaderView::sectionResized, this, relayOut);
    connect(model_, &QAbstractItemModel::rowsInserted, this, relayOut);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, relayOut);
    connect(model_, &QAbstractItemModel::modelReset, this, relayOut);
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
// rows came meanwhile.
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

void Grid::addRowAndFollow(const QString& tabText, int rowsBeforeScrolling) {
    addRow(tabText);
    const int newRow = rowCount() - 1;
    setCurrentRow(newRow);
    if (newRow > rowsBeforeScrolling)
        setFirstVisibleRow(firstVisibleRow() + 1);
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

int Grid::columnWidth(int column) const {
    return header_->sectionSize(column);
}

void Grid::setColumnWidth(int column, int pixels) {
    header_->resizeSection(column, pixels);
}

void Grid::setColumnWidthTwips(int column, int twips) {
    setColumnWidth(column, Twips(this).toPixels(twips));
}

// Follows the grid's font, which a window may set after building the grid.
int Grid::rowHeight() const {
    return fontMetrics().height() + 4;
}

int Grid::rowAt(int y) const {
    if (y < 0)
        return -1;
    const int row = verticalScrollBar()->value() + y / rowHeight();
    return row < model_->rowCount() ? row : -1;
}

QSize Grid::sizeForRows(int rows) const {
    const int frames = 2 * frameWidth();
    return {frames + verticalScrollBar()->sizeHint().width() + header_->length(),
            frames + header_->sizeHint().height() + rows * rowHeight()};
}

int Grid::fullyShownRows() const {
    return std::max(1, viewport()->height() / rowHeight());
}

QRect Grid::visualRect(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    return {header_->sectionViewportPosition(index.column()),
            (index.row() - verticalScrollBar()->value()) * rowHeight(),
            header_->sectionSize(index.column()), rowHeight()};
}

QModelIndex Grid::indexAt(const QPoint& point) const {
    const int row = rowAt(point.y());
    const int column = header_->logicalIndexAt(point.x());
    return row < 0 || column < 0 ? QModelIndex() : model_->index(row, column);
}

void Grid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid())
        return;
    const int shown = fullyShownRows();
    QScrollBar* rowsBar = verticalScrollBar();
    int top = rowsBar->value();
    switch (hint) {
    case PositionAtTop:
        top = index.row();
        break;
    case PositionAtBottom:
        top = index.row() - shown + 1;
        break;
    case PositionAtCenter:
        top = index.row() - shown / 2;
        break;
    case EnsureVisible:
        top = std::clamp(top, index.row() - shown + 1, index.row());
        break;
    }
    rowsBar->setValue(top);

    QScrollBar* columnsBar = horizontalScrollBar();
    const int left = header_->sectionPosition(index.column());
    const int right = left + header_->sectionSize(index.column());
    const int width = viewport()->width();
    if (left < columnsBar->value())
        columnsBar->setValue(left);
    else if (right > columnsBar->value() + width)
        columnsBar->setValue(std::min(left, right - width));
}

QModelIndex Grid::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    const int rows = model_->rowCount();
    if (rows == 0)
        return {};
    const QModelIndex current = currentIndex();
    int row = current.isValid() ? current.row() : 0;
    int column = current.isValid() ? current.column() : 0;
    switch (action) {
    case MoveUp:
        --row;
        break;
    case MoveDown:
        ++row;
        break;
    case MoveLeft:
    case MovePrevious:
        --column;
        break;
    case MoveRight:
    case MoveNext:
        ++column;
        break;
    case MovePageUp:
        row -= fullyShownRows();
        break;
    case MovePageDown:
        row += fullyShownRows();
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    }
    return model_->index(std::clamp(row, 0, rows - 1),
                         std::clamp(column, 0, model_->columnCount() - 1));
}

// The keys move the view along with the current cell; the windows' own moves of it do not.
void Grid::keyPressEvent(QKeyEvent* event) {
    const QModelIndex before = currentIndex();
    QAbstractItemView::keyPressEvent(event);
    if (currentIndex() != before)
        scrollTo(currentIndex());
}

int Grid::horizontalOffset() const {
    return horizontalScrollBar()->value();
}

int Grid::verticalOffset() const {
    return verticalScrollBar()->value() * rowHeight();
}

bool Grid::isIndexHidden(const QModelIndex&) const {
    return false;
}

void Grid::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    const QRect area = rect.normalized();
    const QModelIndex from = indexAt(area.topLeft());
    const QModelIndex to = indexAt(area.bottomRight());
    if (!from.isValid() || !to.isValid()) {
        selectionModel()->select(QItemSelection(), command);
        return;
    }
    selectionModel()->select(QItemSelection(from, to), command);
}

QRegion Grid::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    for (const QItemSelectionRange& range : selection)
        region += visualRect(range.topLeft()).united(visualRect(range.bottomRight()));
    return region;
}

// The scroll ranges follow the rows, the columns and the window size; the chosen top row is kept.
void Grid::updateGeometries() {
    if (layingOut_)
        return;
    layingOut_ = true;
    const int headerHeight = header_->isHidden() ? 0 : header_->sizeHint().height();
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect place = viewport()->geometry();
    header_->setGeometry(place.left(), place.top() - headerHeight, place.width(), headerHeight);

    applyingTopRow_ = true;
    const int shown = fullyShownRows();
    verticalScrollBar()->setRange(0, std::max(0, model_->rowCount() - shown));
    verticalScrollBar()->setPageStep(shown);
    horizontalScrollBar()->setRange(0, std::max(0, header_->length() - place.width()));
    horizontalScrollBar()->setPageStep(place.width());
    horizontalScrollBar()->setSingleStep(std::max(1, rowHeight()));
    header_->setOffset(horizontalScrollBar()->value());
    applyingTopRow_ = false;

    QAbstractItemView::updateGeometries();
    layingOut_ = false;
    scheduleViewUpdate();
}

void Grid::scrollContentsBy(int dx, int) {
    if (dx != 0)
        header_->setOffset(horizontalScrollBar()->value());
    viewport()->update();
}

// Only the rows and columns the damaged area touches are drawn, whatever the length of the list.
void Grid::paintEvent(QPaintEvent* event) {
    const int rows = model_->rowCount();
    const int height = rowHeight();
    const QRect area = event->rect();
    const int top = verticalScrollBar()->value();
    const int firstRow = top + std::max(0, area.top()) / height;
    const int lastRow = std::min(rows - 1, top + area.bottom() / height);
    if (firstRow > lastRow)
        return;

    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int right = 0;
    for (int column = 0; column < model_->columnCount(); ++column) {
        const int x = header_->sectionViewportPosition(column);
        const int width = header_->sectionSize(column);
        right = std::max(right, x + width);
        if (width == 0 || x > area.right() || x + width <= area.left())
            continue;
        for (int row = firstRow; row <= lastRow; ++row)
            paintCell(painter, option, model_->index(row, column),
                      QRect(x, (row - top) * height, width - 1, height - 1));
    }

    const auto lineColour =
        static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this));
    painter.setPen(QColor::fromRgba(lineColour));
    const int bottom = (lastRow - top + 1) * height - 1;
    for (int row = firstRow; row <= lastRow; ++row) {
        const int y = (row - top + 1) * height - 1;
        painter.drawLine(0, y, right - 1, y);
    }
    for (int column = 0; column < model_->columnCount(); ++column) {
        const int x = header_->sectionViewportPosition(column) + header_->sectionSize(column) - 1;
        painter.drawLine(x, (firstRow - top) * height, x, bottom);
    }
}

void Grid::paintCell(QPainter& painter, QStyleOptionViewItem option, const QModelIndex& index,
                     const QRect& cell) {
    option.rect = cell;
    if (selectionModel()->isSelected(index))
        option.state |= QStyle::State_Selected;
    if (index == currentIndex() && (hasFocus() || viewport()->hasFocus()))
        option.state |= QStyle::State_HasFocus;
    style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &option, &painter, this);
    itemDelegateForIndex(index)->paint(&painter, option, index);
}
