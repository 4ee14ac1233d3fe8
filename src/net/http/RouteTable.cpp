#include "net/http/RouteTable.h"

HttpAnswer textAnswer(unsigned int status, const QByteArray& text) {
    return {status, QByteArrayLiteral("text/plain; charset=utf-8"), text, {}, nullptr};
}

void RouteTable::add(const QByteArray& path, Handler handler) {
    handlers_.insert(path, std::move(handler));
}

HttpAnswer RouteTable::answer(const HttpRequest& request) const {
    if (request.method != "GET" && request.method != "HEAD") {
        HttpAnswer refused = textAnswer(405, QByteArrayLiteral("Method Not Allowed\n"));
        refused.headers.append({QByteArrayLiteral("Allow"), QByteArrayLiteral("GET, HEAD")});
        return withSecurityHeaders(refused);
    }
    const auto handler = handlers_.constFind(request.path);
    if (handler == handlers_.cend())
        return withSecurityHeaders(textAnswer(404, QByteArrayLiteral("Not Found\n")));
    return withSecurityHeaders((*handler)(request));
}

HttpAnswer withSecurityHeaders(HttpAnswer answer) {
    answer.headers.append(
        {QByteArrayLiteral("X-Content-Type-Options"), QByteArrayLiteral("nosniff")});
    answer.headers.append({QByteArrayLiteral("Referrer-Policy"), QByteArrayLiteral("no-referrer")});
    answer.headers.append(
        {QByteArrayLiteral("Content-Security-Policy"),
         QByteArrayLiteral("default-src 'none'; script-src 'self'; style-src 'self'; img-src "
                           "'self' data:; connect-src 'self'; base-uri 'none'; form-action "
                           "'none'; frame-ancestors 'none'")});
    return answer;
}
