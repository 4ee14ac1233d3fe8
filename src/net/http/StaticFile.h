#pragma once

#include "net/http/HttpMessage.h"

#include <QByteArray>
#include <QString>
#include <optional>

// A file served as it is, its tag the hash of its content, made once: a browser asks again each
// time (no-cache) and gets 304 without the body while its copy is still the file.
class StaticFile {
public:
    StaticFile(QByteArray content, QByteArray contentType);

    // Read once from path (a resource too); nothing when it cannot be read.
    static std::optional<StaticFile> read(const QString& path);

    HttpAnswer answer(const HttpRequest& request) const;
    QByteArray entityTag() const { return entityTag_; }

private:
    QByteArray content_;
    QByteArray contentType_;
    QByteArray entityTag_;
};

// By the name's extension: the page's HTML, style sheets, scripts and images; bytes otherwise.
QByteArray contentTypeOfName(const QString& name);
// Whether an If-None-Match value ("a", "b" or *) names the tag.
bool entityTagMatches(const QByteArray& ifNoneMatch, const QByteArray& entityTag);
