#include "ui/platform/QtPrinter.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

QtPrinter::QtPrinter(QString pdfPath) : pdfPath_(std::move(pdfPath)) {}

QtPrinter::~QtPrinter() {
    endDocument();
}

bool QtPrinter::begin() {
    if (painter_)
        return true;
    if (pdfPath_.isEmpty()) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            setFailure(Failure::NoPrinter);
            return false;
        }
        printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    } else {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(pdfPath_);
    }
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        refuse();
        return false;
    }
    setFailure(Failure::None);
    font_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font_.setStyleHint(QFont::Monospace);
    font_.setPointSize(10);
    painter_->setFont(font_);
    y_ = 0;
    return true;
}

bool QtPrinter::printLine(const QString& line) {
    if (!begin())
        return false;
    const QFontMetrics metrics(painter_->font(), printer_.get());
    const int pageHeight = printer_->pageLayout().paintRectPixels(printer_->resolution()).height();
    if (y_ + metrics.height() > pageHeight) {
        if (!printer_->newPage()) {
            refuse();
            return false;
        }
        y_ = 0;
    }
    painter_->drawText(0, y_ + metrics.ascent(), line);
    y_ += metrics.lineSpacing();
    return true;
}

bool QtPrinter::endDocument() {
    if (!painter_)
        return false;
    if (!painter_->end()) {
        refuse();
        return false;
    }
    painter_.reset();
    printer_.reset();
    return true;
}

// Qt does not pass the print system's own words on; the printer's name or the file's path
// tells the user where to look.
void QtPrinter::refuse() {
    setFailure(
        Failure::Refused,
        pdfPath_.isEmpty()
            ? QStringLiteral("%1 did not take the job").arg(printer_->printerName())
            : QStringLiteral("%1 could not be written").arg(QDir::toNativeSeparators(pdfPath_)));
    if (painter_->isActive())
        painter_->end();
    painter_.reset();
    printer_.reset();
}

bool QtPrinter::printImage(const QImage& image) {
    if (!begin())
        return false;
    if (image.isNull()) {
        endDocument();
        return false;
    }
    const QRect page = printer_->pageLayout().paintRectPixels(printer_->resolution());
    // The painter scales while it draws: a copy scaled to a page at printer resolution would
    // take hundreds of megabytes.
    const QSize fitted = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter_->drawImage(QRect(QPoint(0, 0), fitted), image);
    return endDocument();
}
