#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The recorder's open data file. Every line goes to the operating system as it is written and
// is forced to the disk, so that a killed program or a power cut keeps every line written
// before. A line that cannot be written completely is taken back, and the reason is kept.
class DataFileWriter {
public:
    DataFileWriter() = default;
    DataFileWriter(const DataFileWriter&) = delete;
    DataFileWriter& operator=(const DataFileWriter&) = delete;

    // Opens the file for appending, creating it when it does not exist; a device or a pipe takes
    // the lines as they come.
    bool open(const QString& path);
    bool isOpen() const { return file_.isOpen(); }
    // True while the file is open and path leads to it, through links or relative to the
    // working folder.
    bool writesTo(const QString& path) const;
    void close();

    // Writes one whole line. False when it failed: the disk is full, the drive is gone, or the
    // path no longer leads to the file that was opened (deleted or moved away).
    bool writeLine(const QByteArray& line);
    // Lines are forced to the disk by sync() rather than each as it is written: a caller that
    // writes many files at one moment forces them after the last, so that one commit of the file
    // system's journal takes them all instead of one commit each.
    void deferSyncs() { syncsDeferred_ = true; }
    // Forces the lines written since the last sync to the disk. False when that failed.
    bool sync();
    QString errorText() const { return error_; }
    // The last line failed because the path no longer leads to the file that was opened.
    bool lostItsName() const { return lostItsName_; }

private:
    bool stillThere();

    QFile file_;
    QByteArray encodedName_;
    // Which file was opened, to see that the name still leads to it.
    quint64 openedDevice_ = 0;
    quint64 openedInode_ = 0;
    bool regularFile_ = true;
    bool syncsDeferred_ = false;
    bool syncPending_ = false;
    bool lostItsName_ = false;
    QString error_;
};
