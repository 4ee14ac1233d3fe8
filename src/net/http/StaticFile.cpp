#include "net/http/StaticFile.h"

#include <QCryptographicHash>
#include <QFile>

StaticFile::StaticFile(QByteArray content, QByteArray contentType)
    : content_(std::move(content)), contentType_(std::move(contentType)),
      entityTag_('"' +
                 QCryptographicHash::hash(content_, QCryptographicHash::Sha256).toHex().left(32) +
                 '"') {}

std::optional<StaticFile> StaticFile::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return StaticFile(content, contentTypeOfName(path));
}

HttpAnswer StaticFile::answer(const HttpRequest& request) const {
    const bool fresh = entityTagMatches(request.ifNoneMatch, entityTag_);
    HttpAnswer answer{
        fresh ? 304u : 200u, contentType_, fresh ? QByteArray() : content_, {}, nullptr};
    answer.headers.append({QByteArrayLiteral("ETag"), entityTag_});
    answer.headers.append({QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-cache")});
    return answer;
}

QByteArray contentTypeOfName(const QString& name) {
    const std::pair<const char*, const char*> types[] = {{".html", "text/html; charset=utf-8"},
                                                         {".css", "text/css; charset=utf-8"},
                                                         {".js", "text/javascript; charset=utf-8"},
                                                         {".svg", "image/svg+xml"},
                                                         {".png", "image/png"},
                                                         {".ico", "image/x-icon"}};
    for (const auto& [extension, type] : types)
        if (name.endsWith(QLatin1String(extension)))
            return QByteArray(type);
    return QByteArrayLiteral("application/octet-stream");
}

bool entityTagMatches(const QByteArray& ifNoneMatch, const QByteArray& entityTag) {
    for (QByteArray tag : ifNoneMatch.split(',')) {
        tag = tag.trimmed();
        // A weak tag names the same bytes here, as every tag of ours is strong.
        if (tag.startsWith("W/"))
            tag = tag.mid(2);
        if (tag == "*" || tag == entityTag)
            return true;
    }
    return false;
}
