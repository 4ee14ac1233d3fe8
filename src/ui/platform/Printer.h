#pragma once

#include "ui/platform/PrinterBusy.h"

#include <QString>

class QImage;

// The default printer as the program uses it: a sink of text lines, or one window image.
// Every call reports whether it worked; after one that failed, failure() tells why.
class Printer {
public:
    enum class Failure { None, NoPrinter, Refused };

    virtual ~Printer() = default;

    virtual bool printLine(const QString& line) = 0;
    virtual bool endDocument() = 0;
    virtual bool printImage(const QImage& image) = 0;

    // Why the last call that failed did fail: no default printer is set up, or the printer
    // refused the job, for the reason refusal() gives.
    Failure failure() const { return failure_; }
    QString refusal() const { return refusal_; }
    // The reason for the user, after a call that failed.
    QString failureText() const {
        if (failure_ == Failure::NoPrinter)
            return QStringLiteral("There is no default printer set up on this computer.");
        if (refusal_.isEmpty())
            return QStringLiteral("The printer refused the job.");
        return QStringLiteral("The printer refused the job (%1).").arg(refusal_);
    }

    // Set while a list report prints; every window greys its PRINT meanwhile.
    PrinterBusy& busy() { return busy_; }

protected:
    void setFailure(Failure failure, const QString& refusal = {}) {
        failure_ = failure;
        refusal_ = refusal;
    }

private:
    PrinterBusy busy_;
    Failure failure_ = Failure::None;
    QString refusal_;
};
