#include "ui/startup/SelectionWindow.h"

#include "ui/platform/LayoutFonts.h"
#include "ui/platform/Twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QPushButton>

SelectionWindow::SelectionWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), txtCom_(new QComboBox(this)) {
    setObjectName(QStringLiteral("SELECTION"));
    setWindowTitle(QStringLiteral("SELECTION"));
    setFont(LayoutFonts::font(QStringLiteral("MS Sans Serif"), 8, false));
    const Twips twips(this);
    setFixedSize(twips.toPixels(2160), twips.toPixels(600));

    txtCom_->setObjectName(QStringLiteral("TxtCOM"));
    txtCom_->setEditable(true);
    txtCom_->setGeometry(twips.toPixels(120), twips.toPixels(120), twips.toPixels(1095),
                         txtCom_->sizeHint().height());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("CmdOK"));
    ok->setGeometry(twips.rect(1320, 120, 735, 375));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this,
            [this] { Q_EMIT portChosen(portNumberOf(txtCom_->currentText()), true); });

    // Two quick-choice buttons that lie below the visible part of the window.
    auto* com1 = new QPushButton(QStringLiteral("COM1"), this);
    com1->setObjectName(QStringLiteral("Command1"));
    com1->setGeometry(twips.rect(120, 8520, 1215, 495));
    connect(com1, &QPushButton::clicked, this, [this] { Q_EMIT portChosen(1, false); });
    auto* com2 = new QPushButton(QStringLiteral("COM2"), this);
    com2->setObjectName(QStringLiteral("Command2"));
    com2->setGeometry(twips.rect(1440, 8520, 1215, 495));
    connect(com2, &QPushButton::clicked, this, [this] { Q_EMIT portChosen(2, false); });

    Form_Load();
}

void SelectionWindow::Form_Load() {
    const Twips twips(this);
    move(twips.toPixels(3700), twips.toPixels(2700));
    for (int n = 1; n <= 8; ++n)
        txtCom_->addItem(QStringLiteral("COM%1").arg(n));
    txtCom_->setCurrentIndex(0);
    txtCom_->setEditText(QStringLiteral("COM1"));
}

int SelectionWindow::portNumberOf(const QString& text) {
    for (int n = 1; n <= 8; ++n)
        if (text == QStringLiteral("COM%1").arg(n))
            return n;
    return 0;
}

void SelectionWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!closingQuietly_)
        Q_EMIT closedByUser();
}

void SelectionWindow::closeQuietly() {
    closingQuietly_ = true;
    close();
}
