#include "net/live/RecordedPaths.h"

#include "logic/live/PageQuery.h"
#include "net/live/HistoryBoard.h"
#include "net/live/MeterStateBoard.h"
#include "net/live/ReadingsCsvStream.h"

#include <QDateTime>

namespace {

std::optional<QByteArray> queryValue(const HttpRequest& request, const QByteArray& name) {
    const auto value = request.query.constFind(name);
    if (value == request.query.cend())
        return std::nullopt;
    return *value;
}

HttpAnswer refused(const Failure& failure) {
    return textAnswer(400, failure.message.toUtf8());
}

// The meter's id as a file name: its characters come from the command line or the meter.
QByteArray downloadName(const QString& id, int meter) {
    QByteArray name;
    for (const QChar c : id)
        if (c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u'.')
            name += QString(c).toUtf8();
    if (name.isEmpty() || name.startsWith('.'))
        name = "meter-" + QByteArray::number(meter);
    return name + ".csv";
}

} // namespace

void addRecordedPaths(RouteTable& routes, const HistoryBoard& histories,
                      const MeterStateBoard& states, std::vector<RecordedFiles> files) {
    const int meters = static_cast<int>(files.size());
    routes.add(QByteArrayLiteral("/api/history"), [&histories, meters](const HttpRequest& request) {
        const Result<int> meter = parseMeterNumber(queryValue(request, "meter"), meters);
        if (!meter)
            return refused(meter.failure());
        return HttpAnswer{200,
                          QByteArrayLiteral("application/json"),
                          histories.json(size_t(*meter), QDateTime::currentMSecsSinceEpoch()),
                          {{QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-store")}},
                          nullptr};
    });
    routes.add(QByteArrayLiteral("/readings.csv"), [&states, files = std::move(files),
                                                    meters](const HttpRequest& request) {
        const Result<int> meter = parseMeterNumber(queryValue(request, "meter"), meters);
        if (!meter)
            return refused(meter.failure());
        const Result<ReadingRange> range =
            parseReadingRange(queryValue(request, "from"), queryValue(request, "to"),
                              QDateTime::currentMSecsSinceEpoch());
        if (!range)
            return refused(range.failure());
        const RecordedFiles& recorded = files[size_t(*meter)];
        // JSON Lines carry the dew point on every line.
        const DewPointColumn dewPoint =
            recorded.format == FileFormat::JsonLines ? DewPointColumn::With : recorded.dewPoint;
        const QString id = states.snapshot().at(size_t(*meter)).id;
        return HttpAnswer{
            200,
            QByteArrayLiteral("text/csv; charset=utf-8"),
            QByteArray(),
            {{QByteArrayLiteral("Content-Disposition"),
              "attachment; filename=\"" + downloadName(id, *meter) + '"'},
             {QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-store")}},
            std::make_shared<ReadingsCsvStream>(
                RecordedRange(recorded.pattern, recorded.format, range->fromMs, range->toMs),
                dewPoint)};
    });
}
