#pragma once

#include "platform/PrinterBusy.h"

#include <QString>

class QImage;

// The default printer as the program uses it: a sink of text lines, or one window image.
// Every call reports whether it worked, so that a report can skip what fails and go on.
class Printer {
public:
    virtual ~Printer() = default;

    virtual bool printLine(const QString& line) = 0;
    virtual bool endDocument() = 0;
    virtual bool printImage(const QImage& image) = 0;

    // Set while a list report prints; the windows grey their PRINT meanwhile.
    PrinterBusy& busy() { return busy_; }

private:
    PrinterBusy busy_;
};
