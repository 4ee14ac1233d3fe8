#include "cli/DownloadProgress.h"

#include "logger/SetDownload.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int barWidth = 30;

} // namespace

DownloadProgress::DownloadProgress(int totalRecords, int sets)
    : onTerminal_(::isatty(STDERR_FILENO) != 0), totalRecords_(totalRecords), setsLeft_(sets) {}

void DownloadProgress::startSet(int recordsBefore) {
    recordsBefore_ = recordsBefore;
    --setsLeft_;
}

QString DownloadProgress::barText(int done, int total, double secondsLeft, int width) {
    const int filled = total > 0 ? static_cast<int>(static_cast<qint64>(done) * width / total) : 0;
    const int seconds = static_cast<int>(std::ceil(std::max(0.0, secondsLeft)));
    return QStringLiteral("[%1%2] %3 of %4 records, %5:%6 left")
        .arg(QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char(' ')))
        .arg(done)
        .arg(total)
        .arg(seconds / 60)
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void DownloadProgress::update(const QString& progressText) {
    if (!onTerminal_)
        return;
    const int setDone = std::max(0, static_cast<int>(leadingNumber(progressText)));
    const int done = std::min(totalRecords_, recordsBefore_ + setDone);
    const double bytesLeft = double(totalRecords_ - done) * SetDownload::RecordLength +
                             double(setsLeft_) * SetDownload::HeaderLength;
    const QString bar = barText(done, totalRecords_, bytesLeft / LineBytesPerSecond, barWidth);
    std::fprintf(stderr, "\r%s\x1b[K", qPrintable(bar));
    std::fflush(stderr);
    drawn_ = true;
}

void DownloadProgress::finish() {
    if (drawn_)
        std::fputs("\r\x1b[K", stderr);
}
