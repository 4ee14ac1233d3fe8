#include "ui/platform/LayoutFonts.h"

namespace LayoutFonts {

QString standIn(const QString& designFamily) {
    if (designFamily.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Serif");
    return QStringLiteral("Liberation Sans");
}

QFont font(const QString& designFamily, double points, bool bold) {
    const QString family = standIn(designFamily);
    QFont font(family);
    font.setStyleHint(family.endsWith(QLatin1String("Serif")) ? QFont::Serif : QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace LayoutFonts
