#pragma once

#include <QAbstractTableModel>
#include <QBrush>
#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>
#include <vector>

// The rows of a list grid, kept compactly: every data row is one TAB-separated Latin-1 text in
// a single byte arena, found through its offset and length, and split into cells only when a
// cell is asked for. A million rows cost little more than their text. The header row is kept
// apart and shown as the horizontal header.
//
// Rows are counted here as the model counts them (0 = first data row); the grid adds the header.
class GridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    GridModel(int columns, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    QString headerText(int column) const;
    void setHeaderText(int column, const QString& text);

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    QByteArray rowBytes(int row) const;

    void appendRow(const QString& tabText);
    // Bulk appending: staged rows are shown only by the next commitRows(), in one insertion.
    void stageRow(QByteArrayView latin1TabText);
    void commitRows();
    // Room for this many more bytes of row text, so that a large file grows the rows only once.
    void reserveText(qsizetype bytes);
    // The bytes the data rows take: their text and their index entries (spare capacity aside).
    qsizetype storedBytes() const;

    // Removes all data rows.
    void clearRows();
    // Keeps the first count data rows, or adds empty ones up to count.
    void resizeRows(int count);

    // The look of column 0, which stands for the grid's fixed left column.
    void setFixedColumnBrush(const QBrush& brush) { fixedColumnBrush_ = brush; }

private:
    struct Span {
        qsizetype start;
        qsizetype length;
    };

    QByteArrayView rowView(int row) const;
    QByteArrayView cellView(int row, int column) const;

    int columns_;
    QStringList headers_;
    QByteArray arena_;
    std::vector<Span> rows_;
    int shownRows_ = 0;
    QBrush fixedColumnBrush_;
};
