#pragma once

#include <QString>

// The download's progress bar on a terminal's stderr: records done of the total and the time the
// rest takes at the meter's line speed, redrawn in place. Off a terminal it draws nothing.
class DownloadProgress {
public:
    // 9600 baud, 8N1: ten bits a byte.
    static constexpr double LineBytesPerSecond = 960.0;

    // totalRecords of all the sets to come, in sets downloads.
    DownloadProgress(int totalRecords, int sets);

    // The set now coming holds setRecords records, after recordsBefore of the earlier sets.
    void startSet(int recordsBefore);
    // The exchange's progress text, which starts with the records of this set done so far.
    void update(const QString& progressText);
    // Clears the bar, leaving the line for the result.
    void finish();

    // "[#####     ] 812 of 8189 records, 0:30 left", the bar as long as a terminal of columns
    // leaves room for (columns 0: unknown), or the counts alone: never wider than the terminal,
    // which would wrap it and make each redraw a new line.
    static QString barText(int done, int total, double secondsLeft, int columns);

private:
    bool onTerminal_;
    int totalRecords_;
    int setsLeft_;
    int recordsBefore_ = 0;
    bool drawn_ = false;
};
