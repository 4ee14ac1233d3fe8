#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>

// The data file (".dat"): 8-bit text, CR LF lines, TAB-separated fields, no header. Two writers
// make it, the recorder and the record list's SAVE, and one reader reads both back into the
// same seven list columns. Characters outside Latin-1 cannot be stored in 8-bit text and are
// written as "?".

// The record number as the recorder writes it and LBLCOUNT shows it: one space, then the digits.
QString recordNumberText(qint64 recordNumber);

// One recorder line: record number text, TAB, the row body, CR LF.
QByteArray recorderLine(qint64 recordNumber, const QString& rowBody);

// One line of the record list's SAVE: a double quote, the row number as plain digits, a TAB
// before every cell of columns 1 to 6 (also an empty one), a closing double quote, CR LF. No
// escaping: a quote inside a cell is written as it is.
QByteArray saveLine(qint64 rowNumber, const QStringList& cells);

// Splits data file bytes into fields by the reader rule: leading spaces are skipped; a field
// that opens with a double quote runs to the next double quote (commas inside belong to it) and
// the rest of its line up to a comma or the line end is dropped; any other field runs up to the
// next comma or line end. CR LF, a lone LF and a lone CR each end a line, and a blank line is one
// empty field. A quote that is not closed on its line ends with the line, so that a damaged or
// binary file cannot swallow the lines after it.
//
// Works a block at a time: onField gets each complete field (a view into bytes, valid during the
// call) and the return value tells how many bytes were used. A field cut by the end of the block
// is left for the next call, which must start with the unused bytes; with atEnd set the end of
// the block is the end of the file and everything is used.
qsizetype splitDataFields(QByteArrayView bytes, bool atEnd,
                          const std::function<void(QByteArrayView field)>& onField);
