#include "ui/charts/DialogControls.h"

#include "ui/platform/LayoutFonts.h"
#include "ui/platform/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace DialogControls {

void setDialogFont(QWidget* dialog) {
    dialog->setFont(LayoutFonts::font(QStringLiteral("MS Sans Serif"), 8, false));
}

QLabel* addCaption(QWidget* dialog, const char* name, const QString& text, int left, int top) {
    auto* label = new QLabel(text, dialog);
    label->setObjectName(QLatin1String(name));
    const Twips twips(dialog);
    label->move(twips.toPixels(left), twips.toPixels(top));
    label->resize(label->sizeHint());
    return label;
}

QLineEdit* addBox(QWidget* dialog, const char* name, int left, int top, int width, int height) {
    auto* box = new QLineEdit(dialog);
    box->setObjectName(QLatin1String(name));
    const Twips twips(dialog);
    const QRect place = twips.rect(left, top, width, height);
    // Never lower than the face needs, so a typed number is not cut at the bottom.
    box->setGeometry(place.x(), place.y(), place.width(),
                     std::max(place.height(), box->sizeHint().height()));
    return box;
}

QPushButton* addButton(QWidget* dialog, const char* name, const QString& text, int left, int top,
                       int width, int height) {
    auto* button = new QPushButton(text, dialog);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(Twips(dialog).rect(left, top, width, height));
    return button;
}

} // namespace DialogControls
