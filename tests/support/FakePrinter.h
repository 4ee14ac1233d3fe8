#pragma once

#include "platform/Printer.h"

#include <QImage>
#include <QStringList>

// Keeps what would have been printed. With available false it fails every call, as a machine
// without a printer does.
class FakePrinter final : public Printer {
public:
    bool printLine(const QString& line) override {
        if (available)
            lines.append(line);
        return available;
    }
    bool endDocument() override {
        if (available)
            ++documentsEnded;
        return available;
    }
    bool printImage(const QImage& image) override {
        if (available)
            images.append(image);
        return available;
    }

    bool available = true;
    QStringList lines;
    QList<QImage> images;
    int documentsEnded = 0;
};
