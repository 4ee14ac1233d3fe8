#include "net/libraries/OpenedLibrary.h"

OpenedLibrary::OpenedLibrary(const QString& name, const QString& version, const QString& package)
    : fileName_(QStringLiteral("lib%1.so.%2").arg(name, version)), library_(name, version) {
    if (!library_.load())
        error_ = QStringLiteral("%1 cannot be opened (is %2 installed?)").arg(fileName_, package);
}

QFunctionPointer OpenedLibrary::find(const char* name) {
    if (!error_.isEmpty())
        return nullptr;
    const QFunctionPointer function = library_.resolve(name);
    if (!function)
        error_ = QStringLiteral("%1 has no %2").arg(fileName_, QString::fromLatin1(name));
    return function;
}
