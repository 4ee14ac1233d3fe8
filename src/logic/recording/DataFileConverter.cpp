#include "logic/recording/DataFileConverter.h"

#include "logic/recording/DataFileRow.h"
#include "logic/recording/ExportRow.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr qint64 BlockSize = 1 << 20;

// Hands out the lines of a file one by one; CR LF, a lone LF and a lone CR each end a line.
class LineSplitter {
public:
    explicit LineSplitter(QFile& file) : file_(file) {}

    // False at the end of the file or when a read fails (failed() says which).
    bool next(QByteArrayView& line) {
        for (;;) {
            const qsizetype end = findLineEnd();
            if (end >= 0) {
                line = QByteArrayView(buffer_).sliced(position_, end - position_);
                position_ = end + 1;
                skipLf_ = buffer_[end] == '\r';
                return true;
            }
            if (atEnd_) {
                if (position_ >= buffer_.size())
                    return false;
                line = QByteArrayView(buffer_).sliced(position_);
                position_ = buffer_.size();
                return true;
            }
            refill();
        }
    }
    bool failed() const { return failed_; }

private:
    qsizetype findLineEnd() {
        if (skipLf_ && position_ < buffer_.size()) {
            if (buffer_[position_] == '\n')
                ++position_;
            skipLf_ = false;
        }
        for (qsizetype i = position_; i < buffer_.size(); ++i)
            if (buffer_[i] == '\r' || buffer_[i] == '\n')
                return i;
        return -1;
    }

    void refill() {
        buffer_.remove(0, position_);
        position_ = 0;
        const qsizetype kept = buffer_.size();
        buffer_.resize(kept + BlockSize);
        const qint64 got = file_.read(buffer_.data() + kept, BlockSize);
        buffer_.resize(kept + std::max<qint64>(got, 0));
        failed_ = got < 0;
        atEnd_ = got <= 0;
    }

    QFile& file_;
    QByteArray buffer_;
    qsizetype position_ = 0;
    bool skipLf_ = false;
    bool atEnd_ = false;
    bool failed_ = false;
};

} // namespace

ConversionResult
convertDataFile(const QString& inputPath, const QString& outputPath, FileFormat format,
                const QTimeZone& zone,
                const std::function<void(qint64 lineNumber, SkippedLine why)>& skipped) {
    ConversionResult result;
    QFile input(inputPath);
    if (!input.open(QIODevice::ReadOnly)) {
        result.error = inputPath + QStringLiteral(": ") + input.errorString();
        return result;
    }
    QSaveFile output(outputPath);
    if (!output.open(QIODevice::WriteOnly)) {
        result.error = outputPath + QStringLiteral(": ") + output.errorString();
        return result;
    }
    ZoneOffsets offsets(zone);
    QByteArray pending = exportHeader(format);
    LineSplitter lines(input);
    QByteArrayView line;
    qint64 lineNumber = 0;
    while (lines.next(line)) {
        ++lineNumber;
        const std::optional<DataFileRow> row = parseDataFileRow(line);
        const std::optional<ExportRow> exported = row ? exportRow(*row, offsets) : std::nullopt;
        if (exported) {
            appendExportLine(pending, format, *exported);
            ++result.rowsWritten;
        } else if (row || !line.trimmed().isEmpty()) {
            ++result.linesSkipped;
            if (skipped)
                skipped(lineNumber, row ? SkippedLine::NoSuchLocalTime : SkippedLine::NotAReading);
        }
        if (pending.size() >= BlockSize) {
            if (output.write(pending) != pending.size())
                break;
            pending.resize(0);
        }
    }
    if (lines.failed()) {
        result.error = inputPath + QStringLiteral(": ") + input.errorString();
        return result;
    }
    // After a failed write the save file refuses to commit, and the old output stays.
    if (output.write(pending) != pending.size() || !output.commit())
        result.error = outputPath + QStringLiteral(": ") + output.errorString();
    return result;
}
