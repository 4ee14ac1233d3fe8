#pragma once

#include "ui/platform/Printer.h"

#include <QImage>
#include <QStringList>

// Keeps what would have been printed. Told to fail, it fails every call as a machine without a
// printer, or a queue that refuses the job, does.
class FakePrinter final : public Printer {
public:
    bool printLine(const QString& line) override {
        return keep([&] { lines.append(line); });
    }
    bool endDocument() override {
        return keep([&] { ++documentsEnded; });
    }
    bool printImage(const QImage& image) override {
        return keep([&] { images.append(image); });
    }

    Failure failing = Failure::None;
    QString failingReason;
    QStringList lines;
    QList<QImage> images;
    int documentsEnded = 0;

private:
    template <class Keeping> bool keep(Keeping keeping) {
        setFailure(failing, failingReason);
        if (failing != Failure::None)
            return false;
        keeping();
        return true;
    }
};
