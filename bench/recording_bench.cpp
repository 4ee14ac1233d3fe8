// Figures for the recorder: the time one record adds to a sampling tick (the line written,
// forced to the disk, the count shown), on the disk of the folder given (default: the current
// one), and what forcing to the disk costs against only handing the line to the system.
#include "device/recording/Recorder.h"
#include "logic/recording/DataFileFormat.h"
#include "logic/state/SharedState.h"
#include "logic/text/RowText.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Spread {
    double median;
    double p99;
    double worst;
};

Spread spread(std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    return {micros[micros.size() / 2], micros[micros.size() * 99 / 100], micros.back()};
}

QString body(int i) {
    return rowBody(QDateTime(QDate(2003, 5, 2), QTime(14, 3, 27)).addSecs(i),
                   QStringLiteral("45.6"), QStringLiteral("23.1"), QStringLiteral("C"), false);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir dir(folder + QStringLiteral("/recording_bench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a folder in %s\n", qPrintable(folder));
        return 1;
    }
    constexpr int records = 2000;

    // The count the panel would show goes to a label, as it does there.
    QMainWindow panel;
    auto* count = new QLabel(&panel);
    SharedState state;
    Recorder recorder(&panel, state.recording);
    QObject::connect(&recorder, &Recorder::recordCounted, count, &QLabel::setText);
    state.recording.DataFileName = dir.filePath(QStringLiteral("bench.dat"));
    if (!recorder.start())
        return 1;
    std::vector<double> tick;
    for (int i = 0; i < records; ++i) {
        const QString row = body(i);
        QElapsedTimer timer;
        timer.start();
        recorder.recordRow(row);
        tick.push_back(timer.nsecsElapsed() / 1000.0);
    }
    recorder.stop();
    const Spread withSync = spread(tick);

    // The same lines handed to the system only, for comparison.
    QFile plain(dir.filePath(QStringLiteral("plain.dat")));
    if (!plain.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return 1;
    std::vector<double> unsynced;
    for (int i = 0; i < records; ++i) {
        const QByteArray line = recorderLine(i + 1, body(i));
        QElapsedTimer timer;
        timer.start();
        plain.write(line);
        unsynced.push_back(timer.nsecsElapsed() / 1000.0);
    }
    const Spread withoutSync = spread(unsynced);

    std::printf("Recording step of one tick (%d records in %s):\n", records, qPrintable(folder));
    std::printf("  line written and forced to the disk, count shown: median %.0f us, 99%% %.0f "
                "us, worst %.0f us\n",
                withSync.median, withSync.p99, withSync.worst);
    std::printf("  line only handed to the system, for comparison: median %.1f us, 99%% %.1f "
                "us, worst %.0f us\n",
                withoutSync.median, withoutSync.p99, withoutSync.worst);
    return QFile(state.recording.DataFileName).size() > 0 ? 0 : 1;
}
