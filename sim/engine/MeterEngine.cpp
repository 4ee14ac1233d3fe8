#include "engine/MeterEngine.h"

#include "engine/Bcd.h"
#include "engine/FrameEncoder.h"
#include "engine/SampleSets.h"

#include <QStringList>
#include <cmath>
#include <optional>

namespace {

void appendWord(QByteArray& bytes, int value) {
    bytes.append(static_cast<char>((value >> 8) & 0xFF));
    bytes.append(static_cast<char>(value & 0xFF));
}

int wordAt(const QByteArray& frame, int index) {
    return static_cast<quint8>(frame.at(index)) * 256 + static_cast<quint8>(frame.at(index + 1));
}

QDateTime wholeSecond(const QDateTime& moment) {
    return moment.addMSecs(-moment.time().msec());
}

const QString Ok = QStringLiteral("ok");

QString error(const QString& why) {
    return QStringLiteral("error: ") + why;
}

std::optional<bool> onOff(const QStringList& arguments) {
    if (arguments.size() != 1)
        return std::nullopt;
    const QString word = arguments.first().toLower();
    if (word == QLatin1String("on"))
        return true;
    if (word == QLatin1String("off"))
        return false;
    return std::nullopt;
}

std::optional<double> number(const QStringList& arguments, double low, double high) {
    if (arguments.size() != 1)
        return std::nullopt;
    bool ok = false;
    const double value = arguments.first().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<int> count(const QStringList& arguments, int high) {
    if (arguments.size() != 1)
        return std::nullopt;
    bool ok = false;
    const int value = arguments.first().toInt(&ok);
    if (!ok || value < 0 || value > high)
        return std::nullopt;
    return value;
}

std::optional<QByteArray> hexBytes(const QStringList& arguments) {
    const QString digits = arguments.join(QString());
    if (digits.isEmpty() || digits.size() % 2 != 0)
        return std::nullopt;
    for (QChar digit : digits) {
        if (!digit.isDigit() && !QStringLiteral("abcdefABCDEF").contains(digit))
            return std::nullopt;
    }
    return QByteArray::fromHex(digits.toLatin1());
}

QString onOffText(bool on) {
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

} // namespace

MeterEngine::MeterEngine(std::function<QDateTime()> pcClock) : pcClock_(std::move(pcClock)) {
    loadSampleSets(memory_);
}

QDateTime MeterEngine::meterClock() const {
    return pcClock_().addMSecs(clockOffsetMs_);
}

SimReading MeterEngine::shownReading() const {
    SimReading reading = model_.shown(meterClock());
    reading.memoryFull = memory_.isFull();
    reading.recording = recording_;
    return reading;
}

bool MeterEngine::recording() {
    catchUpRecording();
    return recording_;
}

const DataloggerMemory& MeterEngine::memory() {
    catchUpRecording();
    return memory_;
}

QByteArray MeterEngine::receive(const QByteArray& fromPc) {
    // A silent meter hears nothing either, so nothing said meanwhile is answered later.
    if (silent_)
        return {};
    const qsizetype lost = std::min(qsizetype(deafCount_), fromPc.size());
    deafCount_ -= static_cast<int>(lost);
    splitter_.append(fromPc.mid(lost), pcClock_().toMSecsSinceEpoch());
    QByteArray reply;
    for (QByteArray command = splitter_.next(); !command.isEmpty(); command = splitter_.next())
        reply.append(execute(command));
    return shapeReply(reply);
}

QByteArray MeterEngine::execute(const QByteArray& command) {
    catchUpRecording();
    switch (command.at(0)) {
    case ' ':
        return FrameEncoder::liveFrame(meterClock().time(), shownReading());
    case 'T':
        recording_ = false;
        return {};
    case 'S':
    case 'R':
        startRecording();
        return {};
    case 'E':
        recording_ = false;
        memory_.erase();
        return {};
    case 'Y':
        return statusReply();
    case 'C':
        return clockReply();
    case 'I':
        return memory_.directory();
    case 'K':
        return memory_.download(static_cast<quint8>(command.at(1)));
    case 'W':
        loggerInterval_ = wordAt(command, 1);
        return {};
    case 'X':
        idCode_ = wordAt(command, 1);
        return {};
    case 'D':
        setClock(command);
        return {};
    default:
        return {};
    }
}

QByteArray MeterEngine::statusReply() {
    QByteArray reply;
    appendWord(reply, idCode_);
    appendWord(reply, 0);
    reply.append(static_cast<char>(memory_.setCount()));
    appendWord(reply, memory_.usedBytes());
    appendWord(reply, loggerInterval_);
    return reply;
}

QByteArray MeterEngine::clockReply() const {
    const QDateTime now = meterClock();
    QByteArray reply;
    for (int field : {now.date().year() % 100, now.date().month(), now.date().day(),
                      now.time().hour(), now.time().minute(), now.time().second()})
        reply.append(static_cast<char>(toBcd(field)));
    return reply;
}

void MeterEngine::setClock(const QByteArray& frame) {
    int fields[6];
    for (int i = 0; i < 6; ++i) {
        fields[i] = fromBcd(static_cast<quint8>(frame.at(i + 1)));
        if (fields[i] < 0)
            return;
    }
    const QDate date(2000 + fields[0], fields[1], fields[2]);
    const QTime time(fields[3], fields[4], fields[5]);
    if (!date.isValid() || !time.isValid())
        return;
    const QDateTime pcNow = pcClock_();
    QDateTime target = pcNow;
    target.setDate(date);
    target.setTime(time);
    clockOffsetMs_ = pcNow.msecsTo(target);
}

void MeterEngine::startRecording() {
    if (recording_)
        return;
    // A full memory takes no new set, so the meter simply does not start.
    if (!memory_.startSet(wholeSecond(meterClock()), loggerInterval_))
        return;
    recording_ = true;
    catchUpRecording();
}

void MeterEngine::catchUpRecording() {
    if (!recording_ || memory_.setCount() == 0)
        return;
    const QDateTime now = meterClock();
    const DataloggerMemory::LoggedSet& set = memory_.set(memory_.setCount());
    for (;;) {
        const QDateTime due =
            set.start.addSecs(static_cast<qint64>(set.recordCount()) * set.intervalSeconds);
        if (due > now)
            return;
        if (!memory_.appendRecord(FrameEncoder::recordBytes(model_.measured(due)))) {
            recording_ = false;
            return;
        }
        if (memory_.isFull()) {
            recording_ = false;
            return;
        }
    }
}

QByteArray MeterEngine::shapeReply(QByteArray reply) {
    if (reply.isEmpty())
        return reply;
    if (extraCount_ > 0) {
        reply.append(QByteArray(extraCount_, GarbageByte));
        extraCount_ = 0;
    }
    if (dropCount_ > 0) {
        const int dropped = std::min(dropCount_, static_cast<int>(reply.size()));
        reply.remove(0, dropped);
        dropCount_ -= dropped;
    }
    if (slipReplies_ > 0 && reply.size() > slipAfter_) {
        reply.remove(slipAfter_, 1);
        --slipReplies_;
    }
    return reply;
}

QByteArray MeterEngine::takeUnsolicited() {
    QByteArray bytes;
    bytes.swap(unsolicited_);
    return bytes;
}

QList<MeterEngine::TransportRequest> MeterEngine::takeTransportRequests() {
    QList<TransportRequest> taken;
    taken.swap(requests_);
    return taken;
}

void MeterEngine::request(TransportRequest what) {
    requests_.append(what);
}

// The control lines, by the kind of argument they take. Each table row is one command.
QString MeterEngine::runControl(const QString& name, const QStringList& arguments,
                                const QDateTime& now, const QString& line) {
    const QByteArray key = name.toLatin1();
    struct Valued {
        const char* name;
        QString (*run)(MeterEngine&, const QString& name, const QStringList& arguments);
    };
    static const Valued valued[] = {
        {"rh",
         [](MeterEngine& e, const QString&, const QStringList& a) {
             const auto value = number(a, 0.0, 100.0);
             if (!value)
                 return error(QStringLiteral("rh takes a humidity from 0 to 100"));
             e.model_.setHumidity(*value);
             return Ok;
         }},
        {"temp",
         [](MeterEngine& e, const QString&, const QStringList& a) {
             const auto value = number(a, -273.15, 1000.0);
             if (!value)
                 return error(QStringLiteral("temp takes degrees Celsius from -273.15 to 1000"));
             e.model_.setCelsius(*value);
             return Ok;
         }},
        {"unit",
         [](MeterEngine& e, const QString&, const QStringList& a) {
             const QString unit = a.size() == 1 ? a.first().toUpper() : QString();
             if (unit != QLatin1String("C") && unit != QLatin1String("F"))
                 return error(QStringLiteral("unit takes C or F"));
             e.model_.setFahrenheit(unit == QLatin1String("F"));
             return Ok;
         }},
        {"delay",
         [](MeterEngine& e, const QString&, const QStringList& a) {
             const auto value = count(a, 60000);
             if (!value)
                 return error(QStringLiteral("delay takes milliseconds from 0 to 60000"));
             e.replyDelayMs_ = *value;
             return Ok;
         }},
        {"drop",
         [](MeterEngine& e, const QString& n, const QStringList& a) {
             const auto value = count(a, 1000000);
             if (!value)
                 return error(n + QStringLiteral(" takes a byte count"));
             e.dropCount_ = *value;
             return Ok;
         }},
        {"extra",
         [](MeterEngine& e, const QString& n, const QStringList& a) {
             const auto value = count(a, 1000000);
             if (!value)
                 return error(n + QStringLiteral(" takes a byte count"));
             e.extraCount_ = *value;
             return Ok;
         }},
        {"deaf",
         [](MeterEngine& e, const QString& n, const QStringList& a) {
             const auto value = count(a, 1000000);
             if (!value)
                 return error(n + QStringLiteral(" takes a byte count"));
             e.deafCount_ = *value;
             return Ok;
         }},
        {"slip",
         [](MeterEngine& e, const QString& n, const QStringList& a) {
             // Short replies pass untouched, so the fault waits for the long reply it is meant
             // for, such as a set download.
             const auto after = count(a.mid(0, 1), 1000000);
             const auto replies = a.size() == 2 ? count(a.mid(1), 1000000) : std::optional(1);
             if (a.size() > 2 || !after || !replies)
                 return error(n + QStringLiteral(" takes a byte position and a reply count"));
             e.slipAfter_ = *after;
             e.slipReplies_ = *replies;
             return Ok;
         }},
        {"raw",
         [](MeterEngine& e, const QString&, const QStringList& a) {
             const auto bytes = hexBytes(a);
             if (!bytes)
                 return error(QStringLiteral("raw takes hexadecimal bytes, such as raw 02 12 05"));
             e.unsolicited_.append(*bytes);
             return Ok;
         }},
    };
    struct Switch {
        const char* name;
        void (*set)(MeterEngine&, bool on, const QDateTime& now);
    };
    static const Switch switches[] = {
        {"battery", [](MeterEngine& e, bool on, const QDateTime&) { e.model_.setBatteryLow(on); }},
        {"hold",
         [](MeterEngine& e, bool on, const QDateTime& moment) { e.model_.setHold(on, moment); }},
        {"overload", [](MeterEngine& e, bool on, const QDateTime&) { e.model_.setOverload(on); }},
        {"drift",
         [](MeterEngine& e, bool on, const QDateTime& moment) { e.model_.setDrift(on, moment); }},
        {"silent",
         [](MeterEngine& e, bool on, const QDateTime&) {
             e.silent_ = on;
             e.splitter_.clear();
         }},
        {"pace", [](MeterEngine& e, bool on, const QDateTime&) { e.paced_ = on; }},
    };
    struct Plain {
        const char* name;
        QString (*run)(MeterEngine&, const QDateTime& now);
    };
    static const Plain plain[] = {
        {"erase",
         [](MeterEngine& e, const QDateTime&) {
             e.recording_ = false;
             e.memory_.erase();
             return Ok;
         }},
        {"preload",
         [](MeterEngine& e, const QDateTime&) {
             e.recording_ = false;
             loadSampleSets(e.memory_);
             return Ok;
         }},
        {"fill",
         [](MeterEngine& e, const QDateTime& moment) {
             // One more set that takes every byte left, so the memory-full flag shows at once.
             e.recording_ = false;
             if (!e.memory_.startSet(wholeSecond(moment), e.loggerInterval_))
                 return error(QStringLiteral("no room for another set"));
             const QByteArray record = FrameEncoder::recordBytes(e.model_.measured(moment));
             while (e.memory_.appendRecord(record)) {
             }
             return Ok;
         }},
        {"unplug",
         [](MeterEngine& e, const QDateTime&) {
             e.request(TransportRequest::Unplug);
             return Ok;
         }},
        {"replug",
         [](MeterEngine& e, const QDateTime&) {
             e.request(TransportRequest::Replug);
             return Ok;
         }},
        {"quit",
         [](MeterEngine& e, const QDateTime&) {
             e.request(TransportRequest::Quit);
             return Ok;
         }},
        {"status", [](MeterEngine& e, const QDateTime&) { return e.statusText(); }},
    };

    for (const Valued& command : valued)
        if (key == command.name)
            return command.run(*this, name, arguments);
    for (const Switch& command : switches) {
        if (key != command.name)
            continue;
        const auto on = onOff(arguments);
        if (!on)
            return error(name + QStringLiteral(" takes on or off"));
        command.set(*this, *on, now);
        return Ok;
    }
    if (arguments.isEmpty())
        for (const Plain& command : plain)
            if (key == command.name)
                return command.run(*this, now);
    return error(QStringLiteral("unknown command: ") + line);
}

QString MeterEngine::control(const QString& line) {
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    const QString name = words.first().toLower();
    const QStringList arguments = words.mid(1);
    const QDateTime now = meterClock();
    catchUpRecording();

    const QString reply = runControl(name, arguments, now, line.simplified());
    if (notify_ && (!unsolicited_.isEmpty() || !requests_.isEmpty()))
        notify_();
    return reply;
}

QString MeterEngine::statusText() {
    catchUpRecording();
    const QDateTime now = meterClock();
    const SimReading shown = shownReading();
    QStringList parts;
    parts << QStringLiteral("rh=%1%2")
                 .arg(model_.humidityAt(now), 0, 'f', 1)
                 .arg(model_.humidityDrifts() ? QStringLiteral("(drift)") : QString());
    parts << QStringLiteral("temp=%1%2")
                 .arg(model_.celsiusAt(now), 0, 'f', 1)
                 .arg(model_.temperatureDrifts() ? QStringLiteral("(drift)") : QString());
    parts << QStringLiteral("unit=%1").arg(model_.fahrenheit() ? QLatin1Char('F')
                                                               : QLatin1Char('C'));
    parts << QStringLiteral("shown=%1/%2")
                 .arg(shown.humidity, 0, 'f', 1)
                 .arg(shown.temperature, 0, 'f', 1);
    parts << QStringLiteral("battery=") + onOffText(model_.batteryLow());
    parts << QStringLiteral("hold=") + onOffText(model_.hold());
    parts << QStringLiteral("overload=") + onOffText(model_.overload());
    parts << QStringLiteral("silent=") + onOffText(silent_);
    parts << QStringLiteral("pace=") + onOffText(paced_);
    parts << QStringLiteral("delay=%1").arg(replyDelayMs_);
    parts << QStringLiteral("drop=%1").arg(dropCount_);
    parts << QStringLiteral("extra=%1").arg(extraCount_);
    parts << QStringLiteral("deaf=%1").arg(deafCount_);
    parts << QStringLiteral("slip=%1/%2").arg(slipAfter_).arg(slipReplies_);
    parts << QStringLiteral("recording=") + onOffText(recording_);
    parts << QStringLiteral("sets=%1").arg(memory_.setCount());
    parts << QStringLiteral("used=%1").arg(memory_.usedBytes());
    parts << QStringLiteral("full=") + onOffText(memory_.isFull());
    parts << QStringLiteral("interval=%1").arg(loggerInterval_);
    parts << QStringLiteral("id=%1").arg(idCode_);
    parts << QStringLiteral("clock=") + now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return parts.join(QLatin1Char(' '));
}
