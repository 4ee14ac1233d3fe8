#include "net/live/LivePage.h"

#include "net/http/StaticFile.h"
#include "net/live/EventHub.h"
#include "net/live/MeterStateBoard.h"

#include <QDir>

namespace {

void addPageFiles(RouteTable& routes, const QString& folder) {
    const QDir page(folder);
    for (const QString& name : page.entryList(QDir::Files)) {
        const std::optional<StaticFile> file = StaticFile::read(page.filePath(name));
        if (!file)
            continue;
        const auto serve = [file = *file](const HttpRequest& request) {
            return file.answer(request);
        };
        routes.add('/' + name.toUtf8(), serve);
        if (name == QLatin1String("index.html"))
            routes.add(QByteArrayLiteral("/"), serve);
    }
}

void addChartScript(RouteTable& routes, const QString& path) {
    const std::optional<StaticFile> script = StaticFile::read(path);
    routes.add(QByteArrayLiteral("/chart.js"), [script](const HttpRequest& request) {
        if (!script)
            return textAnswer(
                404, QByteArrayLiteral("Chart.js is not installed (package libjs-chart.js)"));
        return script->answer(request);
    });
}

} // namespace

void addLivePage(RouteTable& routes, const MeterStateBoard& board, EventHub& events,
                 const LivePageSources& sources) {
    addPageFiles(routes, sources.pageFolder);
    addChartScript(routes, sources.chartScript);
    routes.add(QByteArrayLiteral("/api/meters"), [&board](const HttpRequest&) {
        return HttpAnswer{200,
                          QByteArrayLiteral("application/json"),
                          metersJson(board.snapshot()),
                          {{QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-store")}},
                          nullptr};
    });
    routes.add(QByteArrayLiteral("/events"), [&board, &events](const HttpRequest&) {
        const std::shared_ptr<BodyStream> stream =
            events.join("retry: 3000\n\n" +
                        serverSentEvent(QByteArrayLiteral("meters"), metersJson(board.snapshot())));
        if (!stream)
            return textAnswer(
                503, QByteArrayLiteral("Too many live pages are open (8): close one and reload."));
        return HttpAnswer{200,
                          QByteArrayLiteral("text/event-stream"),
                          QByteArray(),
                          {{QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-store")}},
                          stream};
    });
}
