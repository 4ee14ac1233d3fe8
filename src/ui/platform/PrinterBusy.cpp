#include "ui/platform/PrinterBusy.h"

#include <QAction>

void PrinterBusy::setBusy(bool busy) {
    if (busy_ == busy)
        return;
    busy_ = busy;
    Q_EMIT busyChanged(busy);
}

void PrinterBusy::offerOnlyWhileFree(QAction& print) {
    print.setEnabled(!busy_);
    connect(this, &PrinterBusy::busyChanged, &print,
            [&print](bool busy) { print.setEnabled(!busy); });
}
