#include "ui/startup/SplashWindow.h"

#include "ui/platform/LayoutFonts.h"
#include "ui/platform/Twips.h"

#include <QFrame>
#include <QLabel>
#include <algorithm>

SplashWindow::SplashWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("VORMAK"));
    setWindowTitle(QStringLiteral("VORMAK"));
    const Twips twips(this);

    auto* maker = new QLabel(QStringLiteral("VORMAK"), this);
    maker->setObjectName(QStringLiteral("Label1"));
    maker->setFont(LayoutFonts::font(QStringLiteral("Times New Roman"), 27.75, true));
    maker->adjustSize();
    // The maker's name in its large face is a little wider than the window's design width in
    // some fonts; the window grows to show it whole rather than cut its letters.
    const int margin = twips.toPixels(60);
    setFixedSize(std::max(twips.toPixels(2415), maker->width() + 2 * margin), twips.toPixels(945));
    maker->move((width() - maker->width()) / 2, 0);

    auto* instruments = new QLabel(QStringLiteral("INTRUMENTS"), this);
    instruments->setObjectName(QStringLiteral("Label2"));
    instruments->setFont(LayoutFonts::font(QStringLiteral("Times New Roman"), 12, true));
    instruments->adjustSize();
    const int linesRight = twips.toPixels(480);
    instruments->move(std::max(linesRight + margin, (width() - instruments->width()) / 2),
                      maker->height());

    const int lineMiddle = maker->height() + instruments->height() / 2;
    for (int i = 0; i < 2; ++i) {
        auto* line = new QFrame(this);
        line->setObjectName(QStringLiteral("Line%1").arg(i + 1));
        line->setFrameShape(QFrame::HLine);
        line->setGeometry(twips.toPixels(120), lineMiddle - 4 + 6 * i,
                          linesRight - twips.toPixels(120), 2);
    }
}
