#pragma once

#include "net/http/HttpMessage.h"

#include <QByteArray>
#include <QHash>
#include <functional>

// The paths the listener serves, each by a handler of its own. Every path is read-only: a
// method other than GET or HEAD is refused before any handler runs, so that no handler can be
// reached by one.
class RouteTable {
public:
    using Handler = std::function<HttpAnswer(const HttpRequest&)>;

    void add(const QByteArray& path, Handler handler);
    // The handler's answer, 405 for another method, 404 for a path none serves; with the
    // headers every answer carries.
    HttpAnswer answer(const HttpRequest& request) const;

private:
    QHash<QByteArray, Handler> handlers_;
};

// The headers every answer carries: no sniffing of a type, no referrer sent on, and a page that
// runs only its own scripts and styles, loads nothing from elsewhere and is framed by no one.
HttpAnswer withSecurityHeaders(HttpAnswer answer);
