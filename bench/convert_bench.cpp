// Figures of the data file conversion: a million-line recording (a day and a half at one reading
// a second, with an overload and a battery warning now and then) into CSV and into JSON Lines,
// its time and the process's peak memory.
#include "logic/recording/DataFileConverter.h"
#include "logic/recording/DataFileFormat.h"
#include "logic/text/RowText.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int Lines = 1000000;

bool writeRecording(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QDateTime start(QDate(2026, 3, 28), QTime(12, 0, 0), Qt::UTC);
    QByteArray block;
    for (int i = 1; i <= Lines; ++i) {
        const QString humidity = i % 1000 == 0 ? QStringLiteral("OL") : QStringLiteral("45.6");
        block += recorderLine(i, rowBody(start.addSecs(i), humidity, QStringLiteral("-12.3"),
                                         QStringLiteral("C"), i % 777 == 0));
        if (block.size() > (1 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    return file.write(block) == block.size();
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main() {
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("recording.dat"));
    if (!writeRecording(in))
        return 1;
    std::printf("input: %d lines, %.1f MB; peak memory before converting: %ld kB\n", Lines,
                QFile(in).size() / 1e6, peakKilobytes());
    for (const auto& [format, name] :
         {std::pair{FileFormat::Csv, "csv"}, std::pair{FileFormat::JsonLines, "jsonl"}}) {
        const QString out = dir.filePath(QStringLiteral("out.") + QLatin1String(name));
        QElapsedTimer timer;
        timer.start();
        const ConversionResult result =
            convertDataFile(in, out, format, QTimeZone("Europe/Berlin"), {});
        std::printf("%-5s %8.3f s  %lld rows  %.1f MB  peak memory %ld kB%s\n", name,
                    timer.nsecsElapsed() / 1e9, static_cast<long long>(result.rowsWritten),
                    QFile(out).size() / 1e6, peakKilobytes(),
                    result.error.isEmpty() ? "" : qPrintable(QStringLiteral("  ") + result.error));
    }
    return 0;
}
