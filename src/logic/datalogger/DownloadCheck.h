#pragma once

#include <QString>

class LoggedSetData;

// What of a set download can be listed, judged against the number of records the set holds.
// Bytes lost or added on the line put every later record out of step; that shows as a byte total
// that is not 10 + 4 n, as more records than the set holds, or as a record digit that is not BCD.
// Only the records before the first sign of it are listed, and the user is told.
struct DownloadCheck {
    int setRecords = 0;
    // Records 1 to listed arrived whole and in step.
    int listed = 0;
    bool damaged = false;

    static DownloadCheck of(const LoggedSetData& download, int setRecords);

    // Empty when the whole set is listed; " 3  RECORDS DID NOT ARRIVE!" for a set cut short; for
    // a damaged one "THE SET ARRIVED DAMAGED!", LF, CR, " 2  OF  3  RECORDS LISTED".
    QString message() const;
    // REC_LIST's caption, on one line: " 3  RECORDS IN NO.  1  SET" for the whole set,
    // " 2  OF  3  RECORDS IN NO.  1  SET" for a set cut short, " 2  RECORDS IN NO.  1  SET,
    // DAMAGED" for a damaged one (its message says of how many).
    QString recordListCaption(int set) const;
};
