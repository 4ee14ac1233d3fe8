#pragma once

#include <QLibrary>
#include <QString>

// A system library opened when it is first needed rather than linked to the program: a logger
// that records without a broker or a listener then never loads the network's and TLS's
// libraries, some 4 MB of memory on a board.
class OpenedLibrary {
public:
    // name and version as the library's file has them: "mosquitto", "1" for libmosquitto.so.1;
    // package: the Debian package that installs it, for the user to be told.
    OpenedLibrary(const QString& name, const QString& version, const QString& package);
    OpenedLibrary(const OpenedLibrary&) = delete;
    OpenedLibrary& operator=(const OpenedLibrary&) = delete;

    // Points function at the library's function of that name, or at nothing (and error() says
    // which is missing) when the library has none.
    template <typename Function> void resolve(Function& function, const char* name) {
        function = reinterpret_cast<Function>(find(name));
    }
    // Why the library cannot be used ("libmosquitto.so.1 cannot be opened (is libmosquitto1
    // installed?)"), empty when it can.
    QString error() const { return error_; }

private:
    QFunctionPointer find(const char* name);

    QString fileName_;
    QLibrary library_;
    QString error_;
};
