#include "cli/RecordStatus.h"

#include "cli/TerminalWidth.h"
#include "logic/text/CountText.h"

#include <unistd.h>

RecordStatus::RecordStatus(QObject* parent, const QStringList& meters, bool terminal,
                           const std::function<void(const QString&)>& write)
    : QObject(parent), terminal_(terminal), write_(write) {
    for (const QString& name : meters)
        meters_.push_back({name, QString(), 0, QStringLiteral("opening")});
}

void RecordStatus::started(int meter, const QString& path) {
    changeState(meter, QStringLiteral("started, recording to %1").arg(path));
}

void RecordStatus::noAnswer(int meter) {
    changeState(meter, QStringLiteral("the meter does not answer, still trying"));
}

void RecordStatus::linkLost(int meter) {
    changeState(meter, QStringLiteral("link lost"));
}

void RecordStatus::linkBack(int meter) {
    changeState(meter, QStringLiteral("link back"));
}

void RecordStatus::rowWritten(int meter, qint64 rows, const QString& reading) {
    Meter& shown = meters_[static_cast<size_t>(meter)];
    shown.rows = rows;
    shown.reading = reading;
    if (terminal_)
        redraw();
}

void RecordStatus::failed(int meter, const QString& message) {
    meters_[static_cast<size_t>(meter)].failed = true;
    changeState(meter, QStringLiteral("failed: %1").arg(message));
}

void RecordStatus::stopped(int meter, qint64 rows) {
    if (meters_[static_cast<size_t>(meter)].failed)
        return;
    if (rows == 0)
        changeState(meter, QStringLiteral("stopped, the meter never answered"));
    else
        changeState(meter, QStringLiteral("stopped, %1 written")
                               .arg(countText(rows, QStringLiteral("reading"),
                                              QStringLiteral("readings"))));
}

void RecordStatus::brokerState(int meter, const QString& state) {
    changeState(meter, state);
}

void RecordStatus::changeState(int meter, const QString& state) {
    Meter& shown = meters_[static_cast<size_t>(meter)];
    shown.state = state;
    if (terminal_)
        redraw();
    else
        write_(QStringLiteral("%1: %2\n").arg(shown.name, state));
}

void RecordStatus::redraw() {
    QString text;
    // Back to the first meter's line, each line then written over from its start.
    if (drawn_)
        text += QStringLiteral("\x1b[%1A").arg(meters_.size());
    const int columns = terminalColumns(STDERR_FILENO);
    for (const Meter& meter : meters_)
        text += QStringLiteral("\r\x1b[K") +
                fitToColumns(QStringLiteral("%1  %2  %3 written  %4")
                                 .arg(meter.name, meter.reading.isEmpty() ? QStringLiteral("--")
                                                                          : meter.reading)
                                 .arg(meter.rows)
                                 .arg(meter.state),
                             columns) +
                QLatin1Char('\n');
    drawn_ = true;
    write_(text);
}
