#include "ui/lists/SaveRecordRows.h"

#include "logic/recording/DataFileFormat.h"
#include "ui/lists/Grid.h"

#include <QSaveFile>

namespace {

// A saved line is about this long; reserving for it builds the text without regrowing.
constexpr qsizetype typicalLineBytes = 48;

} // namespace

bool saveRecordRows(const Grid& grid, const QString& path, QString& reason) {
    const int rows = grid.rowCount() - 1;
    const int columns = grid.columnCount();
    QByteArray text;
    text.reserve(static_cast<qsizetype>(rows) * typicalLineBytes);
    QStringList cells;
    for (int row = 1; row <= rows; ++row) {
        cells.clear();
        for (int column = 1; column < columns; ++column)
            cells << grid.cellText(row, column);
        text += saveLine(row, cells);
    }

    // Unbuffered, each write reports what reached the file: a buffered save file takes a write
    // cut short (a full disk) for a whole one and would put a truncated file in the old one's
    // place. The write after a short one fails and tells why.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        reason = file.errorString();
        return false;
    }
    for (qsizetype written = 0; written < text.size();) {
        const qint64 count = file.write(text.constData() + written, text.size() - written);
        if (count <= 0) {
            reason = file.errorString();
            return false;
        }
        written += count;
    }
    if (!file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}
