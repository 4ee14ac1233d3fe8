#include "cli/DownloadProgress.h"

#include "cli/TerminalWidth.h"
#include "logic/datalogger/LoggedSetData.h"
#include "logic/text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int LongestBar = 30;
// Narrower than this a bar says too little to be worth its room: the counts go alone.
constexpr int ShortestBar = 5;

} // namespace

DownloadProgress::DownloadProgress(int totalRecords, int sets)
    : onTerminal_(::isatty(STDERR_FILENO) != 0), totalRecords_(totalRecords), setsLeft_(sets) {}

void DownloadProgress::startSet(int recordsBefore) {
    recordsBefore_ = recordsBefore;
    --setsLeft_;
}

QString DownloadProgress::barText(int done, int total, double secondsLeft, int columns) {
    const int seconds = static_cast<int>(std::ceil(std::max(0.0, secondsLeft)));
    const QString counts = QStringLiteral("%1 of %2 records, %3:%4 left")
                               .arg(done)
                               .arg(total)
                               .arg(seconds / 60)
                               .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    // "[", "] " and the column the terminal must not be written into.
    const int room = columns > 0 ? columns - static_cast<int>(counts.size()) - 4 : LongestBar;
    const int width = std::min(LongestBar, room);
    if (width < ShortestBar)
        return fitToColumns(counts, columns);
    const int filled = total > 0 ? static_cast<int>(static_cast<qint64>(done) * width / total) : 0;
    return QStringLiteral("[%1%2] ").arg(QString(filled, QLatin1Char('#')),
                                         QString(width - filled, QLatin1Char(' '))) +
           counts;
}

void DownloadProgress::update(const QString& progressText) {
    if (!onTerminal_)
        return;
    const int setDone = std::max(0, static_cast<int>(leadingNumber(progressText)));
    const int done = std::min(totalRecords_, recordsBefore_ + setDone);
    const double bytesLeft = double(totalRecords_ - done) * LoggedSetData::RecordLength +
                             double(setsLeft_) * LoggedSetData::HeaderLength;
    const QString bar = barText(done, totalRecords_, bytesLeft / LineBytesPerSecond,
                                terminalColumns(STDERR_FILENO));
    std::fprintf(stderr, "\r%s\x1b[K", qPrintable(bar));
    std::fflush(stderr);
    drawn_ = true;
}

void DownloadProgress::finish() {
    if (drawn_)
        std::fputs("\r\x1b[K", stderr);
}
