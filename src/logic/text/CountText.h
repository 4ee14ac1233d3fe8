#pragma once

#include <QString>

// A count with its noun in the number it needs: "1 reading", "0 readings", "2 readings".
QString countText(qint64 count, const QString& one, const QString& many);
