#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <functional>

// Reads a data file block by block and hands out its fields by the reader rule
// (splitDataFields), so that a file of any size is read in little memory.
class DataFileReader {
public:
    static constexpr qsizetype DefaultBlockSize = 1 << 20;

    // blockSize: the bytes one readFields() asks for; any size gives the same fields.
    explicit DataFileReader(const QString& path, qsizetype blockSize = DefaultBlockSize);

    bool open();
    // Reads one more block and calls onField for every field it completes. Returns false once the
    // end of the file is reached (the fields of that last block are handed out too) or a read
    // failed (failed() tells which). Views are valid only during the call.
    bool readFields(const std::function<void(QByteArrayView field)>& onField);
    bool failed() const { return failed_; }
    qint64 size() const { return file_.size(); }

private:
    QFile file_;
    qsizetype blockSize_;
    QByteArray buffer_;
    qsizetype pending_ = 0; // bytes at the start of buffer_ that hold an unfinished field
    bool failed_ = false;
    bool done_ = false;
};
