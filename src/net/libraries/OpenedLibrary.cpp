#include "net/libraries/OpenedLibrary.h"

OpenedLibrary::OpenedLibrary(const QString& name, const QString& version)
    : library_(name, version) {
    if (!library_.load())
        error_ = library_.errorString();
}

QFunctionPointer OpenedLibrary::find(const char* name) {
    if (!error_.isEmpty())
        return nullptr;
    const QFunctionPointer function = library_.resolve(name);
    if (!function)
        error_ = QStringLiteral("%1 has no %2 (%3)")
                     .arg(library_.fileName(), QString::fromLatin1(name), library_.errorString());
    return function;
}
