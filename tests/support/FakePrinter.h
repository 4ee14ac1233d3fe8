#pragma once

#include "platform/Printer.h"

#include <QImage>
#include <QStringList>

// Keeps what would have been printed. Told to fail, it fails every call as a machine without a
// printer, or a queue that refuses the job, does.
class FakePrinter final : public Printer {
public:
    bool printLine(const QString& line) override {
        if (fails())
            return false;
        lines.append(line);
        return true;
    }
    bool endDocument() override {
        if (fails())
            return false;
        ++documentsEnded;
        return true;
    }
    bool printImage(const QImage& image) override {
        if (fails())
            return false;
        images.append(image);
        return true;
    }

    Failure failing = Failure::None;
    QString failingReason;
    QStringList lines;
    QList<QImage> images;
    int documentsEnded = 0;

private:
    bool fails() {
        setFailure(failing, failingReason);
        return failing != Failure::None;
    }
};
