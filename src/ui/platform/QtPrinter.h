#pragma once

#include "ui/platform/Printer.h"

#include <QFont>
#include <memory>

class QPainter;
class QPrinter;

// Prints on the system's default printer, or into a PDF file when one is named (used to check
// the real print path without a printer). Text lines go in a fixed-pitch font so that columns
// line up; a full page continues at the top of the next.
class QtPrinter final : public Printer {
public:
    explicit QtPrinter(QString pdfPath = {});
    ~QtPrinter() override;

    bool printLine(const QString& line) override;
    bool endDocument() override;
    bool printImage(const QImage& image) override;

private:
    bool begin();
    // The job went wrong: say why, and drop what was begun.
    void refuse();

    QString pdfPath_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    QFont font_;
    int y_ = 0;
};
