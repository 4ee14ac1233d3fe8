#include "ui/platform/Twips.h"

#include <QWidget>

Twips::Twips(const QWidget* widget)
    : dpi_(widget->logicalDpiX() > 0 ? widget->logicalDpiX() : 96) {}
