#pragma once

#include <QObject>

// Whether a document is being printed. The list windows share one printer; a second report
// started while one prints would mix its lines into the first, so every window that prints
// watches this and offers its PRINT only while the printer is free.
class PrinterBusy final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    bool isBusy() const { return busy_; }
    void setBusy(bool busy);

Q_SIGNALS:
    void busyChanged(bool busy);

private:
    bool busy_ = false;
};
