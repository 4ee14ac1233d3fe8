#include "ui/lists/GridModel.h"

#include <algorithm>

namespace {

// Nothing wider fits in a column; a far longer cell (a damaged or binary file) would only cost
// time to lay out.
constexpr qsizetype longestShownCell = 1024;

} // namespace

GridModel::GridModel(int columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns), headers_(columns) {}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= shownRows_)
        return {};
    if (role == Qt::DisplayRole) {
        const QByteArrayView cell = cellView(index.row(), index.column());
        return QString::fromLatin1(cell.first(std::min(cell.size(), longestShownCell)));
    }
    if (role == Qt::BackgroundRole && index.column() == 0 &&
        fixedColumnBrush_.style() != Qt::NoBrush)
        return fixedColumnBrush_;
    return {};
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columns_)
        return headers_[section];
    return {};
}

QString GridModel::headerText(int column) const {
    return column >= 0 && column < columns_ ? headers_[column] : QString();
}

void GridModel::setHeaderText(int column, const QString& text) {
    if (column < 0 || column >= columns_)
        return;
    headers_[column] = text;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

QByteArrayView GridModel::rowView(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return {};
    const Span& span = rows_[static_cast<size_t>(row)];
    return QByteArrayView(arena_.constData() + span.start, span.length);
}

QByteArrayView GridModel::cellView(int row, int column) const {
    const QByteArrayView text = rowView(row);
    qsizetype start = 0;
    for (int c = 0; c < column; ++c) {
        const qsizetype tab = text.indexOf('\t', start);
        if (tab < 0)
            return {};
        start = tab + 1;
    }
    // Fields beyond the last column are not shown, as a grid drops them when a row is added.
    qsizetype end = text.indexOf('\t', start);
    if (end < 0)
        end = text.size();
    return text.sliced(start, end - start);
}

QString GridModel::cellText(int row, int column) const {
    if (column < 0 || column >= columns_)
        return {};
    return QString::fromLatin1(cellView(row, column));
}

QByteArray GridModel::rowBytes(int row) const {
    return rowView(row).toByteArray();
}

void GridModel::setCellText(int row, int column, const QString& text) {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= columns_)
        return;
    QList<QByteArray> cells;
    cells.reserve(columns_);
    for (int c = 0; c < columns_; ++c)
        cells.append(cellView(row, c).toByteArray());
    cells[column] = text.toLatin1();
    while (cells.size() > 1 && cells.constLast().isEmpty())
        cells.removeLast();
    const QByteArray joined = cells.join('\t');
    // The old text stays in the arena unused: edits are rare, appends are what must be cheap.
    rows_[static_cast<size_t>(row)] = {arena_.size(), joined.size()};
    arena_.append(joined);
    if (row < shownRows_) {
        const QModelIndex changed = index(row, column);
        Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
    }
}

void GridModel::stageRow(QByteArrayView latin1TabText) {
    rows_.push_back({arena_.size(), latin1TabText.size()});
    arena_.append(latin1TabText);
}

void GridModel::commitRows() {
    const int total = static_cast<int>(rows_.size());
    if (total == shownRows_)
        return;
    beginInsertRows({}, shownRows_, total - 1);
    shownRows_ = total;
    endInsertRows();
}

void GridModel::reserveText(qsizetype bytes) {
    arena_.reserve(arena_.size() + bytes);
}

qsizetype GridModel::storedBytes() const {
    return arena_.size() + static_cast<qsizetype>(rows_.size() * sizeof(Span));
}

void GridModel::appendRow(const QString& tabText) {
    stageRow(tabText.toLatin1());
    commitRows();
}

void GridModel::clearRows() {
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    arena_.clear();
    shownRows_ = 0;
    endResetModel();
}

void GridModel::resizeRows(int count) {
    count = std::max(count, 0);
    if (count == 0) {
        clearRows();
        return;
    }
    commitRows();
    if (count < shownRows_) {
        beginRemoveRows({}, count, shownRows_ - 1);
        rows_.resize(static_cast<size_t>(count));
        shownRows_ = count;
        endRemoveRows();
        return;
    }
    while (static_cast<int>(rows_.size()) < count)
        rows_.push_back({arena_.size(), 0});
    commitRows();
}
