#pragma once

#include <QString>

// Which data file the recording has open. A command that creates or replaces a file asks first:
// replacing that file would drop the records already in it and leave the recorder writing into
// a file that is gone.
class RecordedFile {
public:
    // True while a recording runs into the file path leads to, whichever way the path names it
    // (through a link, or relative to the working folder).
    virtual bool isBeingRecorded(const QString& path) const = 0;

protected:
    ~RecordedFile() = default;
};
