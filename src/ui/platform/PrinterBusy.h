#pragma once

#include <QObject>

class QAction;

// Whether a document is being printed. The list windows and the chart windows share one
// printer; a second job started while a report prints would mix into its document, so every
// window that prints watches this and offers its PRINT only while the printer is free.
class PrinterBusy final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    bool isBusy() const { return busy_; }
    void setBusy(bool busy);

    // Greys print, from now on, for as long as a report prints; a window opened meanwhile
    // starts with it greyed.
    void offerOnlyWhileFree(QAction& print);

Q_SIGNALS:
    void busyChanged(bool busy);

private:
    bool busy_ = false;
};
