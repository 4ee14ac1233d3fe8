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
    splitter_.append(fromPc, pcClock_().toMSecsSinceEpoch());
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

QString MeterEngine::control(const QString& line) {
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    const QString name = words.first().toLower();
    const QStringList arguments = words.mid(1);
    const QDateTime now = meterClock();
    catchUpRecording();

    QString reply = Ok;
    if (name == QLatin1String("rh")) {
        if (const auto value = number(arguments, 0.0, 100.0))
            model_.setHumidity(*value);
        else
            reply = error(QStringLiteral("rh takes a humidity from 0 to 100"));
    } else if (name == QLatin1String("temp")) {
        if (const auto value = number(arguments, -273.15, 1000.0))
            model_.setCelsius(*value);
        else
            reply = error(QStringLiteral("temp takes degrees Celsius from -273.15 to 1000"));
    } else if (name == QLatin1String("unit")) {
        const QString unit = arguments.size() == 1 ? arguments.first().toUpper() : QString();
        if (unit == QLatin1String("C") || unit == QLatin1String("F"))
            model_.setFahrenheit(unit == QLatin1String("F"));
        else
            reply = error(QStringLiteral("unit takes C or F"));
    } else if (name == QLatin1String("battery") || name == QLatin1String("hold") ||
               name == QLatin1String("overload") || name == QLatin1String("drift") ||
               name == QLatin1String("silent") || name == QLatin1String("pace")) {
        const auto on = onOff(arguments);
        if (!on)
            reply = error(name + QStringLiteral(" takes on or off"));
        else if (name == QLatin1String("battery"))
            model_.setBatteryLow(*on);
        else if (name == QLatin1String("hold"))
            model_.setHold(*on, now);
        else if (name == QLatin1String("overload"))
            model_.setOverload(*on);
        else if (name == QLatin1String("drift"))
            model_.setDrift(*on, now);
        else if (name == QLatin1String("silent")) {
            silent_ = *on;
            splitter_.clear();
        } else
            paced_ = *on;
    } else if (name == QLatin1String("delay")) {
        if (const auto value = count(arguments, 60000))
            replyDelayMs_ = *value;
        else
            reply = error(QStringLiteral("delay takes milliseconds from 0 to 60000"));
    } else if (name == QLatin1String("drop") || name == QLatin1String("extra")) {
        if (const auto value = count(arguments, 1000000))
            (name == QLatin1String("drop") ? dropCount_ : extraCount_) = *value;
        else
            reply = error(name + QStringLiteral(" takes a byte count"));
    } else if (name == QLatin1String("raw")) {
        if (const auto bytes = hexBytes(arguments))
            unsolicited_.append(*bytes);
        else
            reply = error(QStringLiteral("raw takes hexadecimal bytes, such as raw 02 12 05"));
    } else if (name == QLatin1String("erase") && arguments.isEmpty()) {
        recording_ = false;
        memory_.erase();
    } else if (name == QLatin1String("preload") && arguments.isEmpty()) {
        recording_ = false;
        loadSampleSets(memory_);
    } else if (name == QLatin1String("fill") && arguments.isEmpty()) {
        // One more set that takes every byte left, so the memory-full flag shows at once.
        recording_ = false;
        if (memory_.startSet(wholeSecond(now), loggerInterval_)) {
            const QByteArray record = FrameEncoder::recordBytes(model_.measured(now));
            while (memory_.appendRecord(record)) {
            }
        } else {
            reply = error(QStringLiteral("no room for another set"));
        }
    } else if (name == QLatin1String("unplug") && arguments.isEmpty()) {
        request(TransportRequest::Unplug);
    } else if (name == QLatin1String("replug") && arguments.isEmpty()) {
        request(TransportRequest::Replug);
    } else if (name == QLatin1String("quit") && arguments.isEmpty()) {
        request(TransportRequest::Quit);
    } else if (name == QLatin1String("status") && arguments.isEmpty()) {
        reply = statusText();
    } else {
        reply = error(QStringLiteral("unknown command: ") + line.simplified());
    }

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
    parts << QStringLiteral("recording=") + onOffText(recording_);
    parts << QStringLiteral("sets=%1").arg(memory_.setCount());
    parts << QStringLiteral("used=%1").arg(memory_.usedBytes());
    parts << QStringLiteral("full=") + onOffText(memory_.isFull());
    parts << QStringLiteral("interval=%1").arg(loggerInterval_);
    parts << QStringLiteral("id=%1").arg(idCode_);
    parts << QStringLiteral("clock=") + now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return parts.join(QLatin1Char(' '));
}
