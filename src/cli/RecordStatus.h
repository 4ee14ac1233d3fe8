#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// What a recording tells on stderr. On a terminal: one line per meter (its reading, the rows
// written, the link's state), redrawn in place. Elsewhere (a log, a service): no control
// characters, one line per change of state.
class RecordStatus final : public QObject {
    Q_OBJECT
public:
    // write: where the text goes, as it is (stderr, in the program).
    RecordStatus(QObject* parent, const QStringList& meters, bool terminal,
                 const std::function<void(const QString&)>& write);

    void started(int meter, const QString& path);
    void noAnswer(int meter);
    void linkLost(int meter);
    void linkBack(int meter);
    void rowWritten(int meter, qint64 rows, const QString& reading);
    void failed(int meter, const QString& message);
    // No rows at all: the meter never answered.
    void stopped(int meter, qint64 rows);
    // How the meter's link to the MQTT broker stands.
    void brokerState(int meter, const QString& state);

private:
    struct Meter {
        QString name;
        QString reading;
        qint64 rows = 0;
        QString state;
        bool failed = false;
    };

    // A new state: the meter's line redrawn on a terminal, a line of its own elsewhere.
    void changeState(int meter, const QString& state);
    void redraw();

    std::vector<Meter> meters_;
    bool terminal_;
    std::function<void(const QString&)> write_;
    bool drawn_ = false;
};
