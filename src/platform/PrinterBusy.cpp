#include "platform/PrinterBusy.h"

void PrinterBusy::setBusy(bool busy) {
    if (busy_ == busy)
        return;
    busy_ = busy;
    Q_EMIT busyChanged(busy);
}
