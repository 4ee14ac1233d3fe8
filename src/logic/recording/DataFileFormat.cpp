#include "logic/recording/DataFileFormat.h"

namespace {

constexpr char tab = '\t';
constexpr char quote = '"';
constexpr char comma = ',';
constexpr char cr = '\r';
constexpr char lf = '\n';

bool isLineEnd(char c) {
    return c == cr || c == lf;
}

// Position just past the line end that starts at i (CR LF counts as one), or -1 when the block
// ends between a CR and a possible LF and more bytes may follow.
qsizetype pastLineEnd(QByteArrayView bytes, qsizetype i, bool atEnd) {
    if (bytes[i] == cr) {
        if (i + 1 < bytes.size())
            return bytes[i + 1] == lf ? i + 2 : i + 1;
        return atEnd ? i + 1 : -1;
    }
    return i + 1;
}

} // namespace

QString recordNumberText(qint64 recordNumber) {
    return QLatin1Char(' ') + QString::number(recordNumber);
}

QByteArray recorderLine(qint64 recordNumber, const QString& rowBody) {
    QByteArray line = ' ' + QByteArray::number(recordNumber);
    line += tab;
    line += rowBody.toLatin1();
    line += "\r\n";
    return line;
}

QByteArray saveLine(qint64 rowNumber, const QStringList& cells) {
    QByteArray line = quote + QByteArray::number(rowNumber);
    for (const QString& cell : cells) {
        line += tab;
        line += cell.toLatin1();
    }
    line += quote;
    line += "\r\n";
    return line;
}

qsizetype splitDataFields(QByteArrayView bytes, bool atEnd,
                          const std::function<void(QByteArrayView field)>& onField) {
    const qsizetype size = bytes.size();
    qsizetype used = 0;
    while (used < size) {
        qsizetype i = used;
        while (i < size && bytes[i] == ' ')
            ++i;
        if (i == size)
            // Only blanks are left: at the end of the file there is no further field.
            return atEnd ? size : used;

        qsizetype fieldStart = i;
        qsizetype fieldEnd = i;
        if (bytes[i] == quote) {
            fieldStart = i + 1;
            fieldEnd = fieldStart;
            while (fieldEnd < size && bytes[fieldEnd] != quote && !isLineEnd(bytes[fieldEnd]))
                ++fieldEnd;
            i = fieldEnd < size && bytes[fieldEnd] == quote ? fieldEnd + 1 : fieldEnd;
            while (i < size && bytes[i] != comma && !isLineEnd(bytes[i]))
                ++i;
        } else {
            while (fieldEnd < size && bytes[fieldEnd] != comma && !isLineEnd(bytes[fieldEnd]))
                ++fieldEnd;
            i = fieldEnd;
        }

        qsizetype next = i;
        if (i == size) {
            if (!atEnd)
                return used;
        } else if (bytes[i] == comma) {
            next = i + 1;
        } else {
            next = pastLineEnd(bytes, i, atEnd);
            if (next < 0)
                return used;
        }
        onField(bytes.sliced(fieldStart, fieldEnd - fieldStart));
        used = next;
    }
    return used;
}
