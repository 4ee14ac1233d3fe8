#include "app/SplashWindow.h"

#include "platform/Twips.h"

#include <QFrame>
#include <QLabel>

SplashWindow::SplashWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("VORMAK"));
    setWindowTitle(QStringLiteral("VORMAK"));
    const Twips twips(this);
    setFixedSize(twips.toPixels(2415), twips.toPixels(945));

    auto* maker = new QLabel(QStringLiteral("VORMAK"), this);
    maker->setObjectName(QStringLiteral("Label1"));
    QFont makerFont(QStringLiteral("Times New Roman"));
    makerFont.setPointSizeF(27.75);
    makerFont.setBold(true);
    maker->setFont(makerFont);
    maker->adjustSize();
    maker->move((width() - maker->width()) / 2, 0);

    auto* instruments = new QLabel(QStringLiteral("INTRUMENTS"), this);
    instruments->setObjectName(QStringLiteral("Label2"));
    QFont smallFont(QStringLiteral("Times New Roman"));
    smallFont.setPointSize(12);
    smallFont.setBold(true);
    instruments->setFont(smallFont);
    instruments->adjustSize();
    instruments->move((width() - instruments->width()) / 2, maker->height());

    const int lineTop = maker->height() + instruments->height() / 2;
    for (int i = 0; i < 2; ++i) {
        auto* line = new QFrame(this);
        line->setObjectName(QStringLiteral("Line%1").arg(i + 1));
        line->setFrameShape(QFrame::HLine);
        line->setGeometry(twips.toPixels(120), lineTop - 3 + 6 * i, twips.toPixels(360), 2);
    }
}
