#pragma once

#include "net/http/RouteTable.h"

#include <QString>

class EventHub;
class MeterStateBoard;

// Where the live page's files come from: its own, built into the program, and Debian's Chart.js,
// installed beside it.
struct LivePageSources {
    QString pageFolder = QStringLiteral(":/page");
    QString chartScript = QStringLiteral("/usr/share/javascript/chart.js/chart.min.js");
};

// The live page's paths: / and its files, /chart.js, /api/meters and /events. Every file is read
// once, here; the board and the hub are read at each request and must outlive the routes.
void addLivePage(RouteTable& routes, const MeterStateBoard& board, EventHub& events,
                 const LivePageSources& sources = {});
