// Linked with the whole of one library and the Qt modules it may use (see CMakeLists.txt):
// building it proves the library needs nothing of Qt Gui or Widgets; running it checks that none
// was loaded.
#include <QFile>
#include <cstdio>

int main() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray loaded = maps.readAll();
    for (const char* library : {"libQt6Gui", "libQt6Widgets"}) {
        if (loaded.contains(library)) {
            std::fprintf(stderr, "%s is loaded\n", library);
            return 1;
        }
    }
    return 0;
}
