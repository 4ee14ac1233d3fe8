#include "cli/RecordPlan.h"

#include "cli/CommandLine.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

const QString portField = QStringLiteral("{port}");

QString extensionOf(FileFormat format) {
    switch (format) {
    case FileFormat::Csv:
        return QStringLiteral("csv");
    case FileFormat::JsonLines:
        return QStringLiteral("jsonl");
    case FileFormat::Dat:
        break;
    }
    return QStringLiteral("dat");
}

bool isFolder(const QString& output) {
    return output.endsWith(QLatin1Char('/')) || QFileInfo(output).isDir();
}

} // namespace

QString portBaseName(const PortName& port) {
    return port.number != 0 ? QStringLiteral("COM%1").arg(port.number)
                            : QFileInfo(port.path).fileName();
}

Result<RecordPlan> planRecording(const QString& output, const QString& format,
                                 const QStringList& ports) {
    if (ports.isEmpty())
        return wrongCall(QStringLiteral("needs a --port"));
    RecordPlan plan;
    const bool folder = !output.isEmpty() && isFolder(output);
    if (!format.isEmpty()) {
        const std::optional<FileFormat> named = parseFileFormat(format);
        if (!named)
            return wrongCall(QStringLiteral("unknown format \"%1\"").arg(format));
        plan.format = *named;
    } else if (!folder) {
        plan.format = fileFormatOfPath(output).value_or(FileFormat::Dat);
    }
    if (ports.size() > 1 && !output.isEmpty() && !folder && !output.contains(portField))
        return wrongCall(QStringLiteral("several ports need {port} or a folder in --output"));

    QString pattern =
        output.isEmpty() ? portField + QLatin1Char('.') + extensionOf(plan.format) : output;
    if (folder)
        pattern = QDir(output).filePath(portField + QLatin1Char('.') + extensionOf(plan.format));
    // A folder of its own for each day would have to be made at midnight, and the network's
    // backlog, which lives beside the file, would move with it.
    const QString folderPart = QFileInfo(pattern).path();
    if (folderPart.contains(QStringLiteral("{date}")) ||
        folderPart.contains(QStringLiteral("{month}")))
        return wrongCall(
            QStringLiteral("{date} and {month} go in the file's name, not in its folder"));
    QSet<QString> paths;
    for (const QString& given : ports) {
        const std::optional<PortName> port = PortName::parse(given);
        if (!port)
            return wrongCall(
                QStringLiteral("\"%1\" is no port: COM1 to COM8 or a device path").arg(given));
        const QString path = QString(pattern).replace(portField, portBaseName(*port));
        if (paths.contains(path))
            return wrongCall(QStringLiteral("two ports would write to %1").arg(path));
        paths.insert(path);
        plan.targets.push_back({*port, path});
    }
    return plan;
}
