#include "ui/charts/LimitDialog.h"

#include "logic/charts/ChartKindTraits.h"
#include "logic/state/ChartState.h"
#include "ui/charts/DialogControls.h"
#include "ui/platform/Dialogs.h"
#include "ui/platform/Twips.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

// Layout in twips: the point count and OK on the first row, MIN and MAX on the second, each box
// under its caption.
constexpr int ClientWidth = 3135;
constexpr int ClientHeight = 1935;
constexpr int LeftColumn = 240;
constexpr int RightColumn = 1680;
constexpr int BoxWidth = 1215;
constexpr int BoxHeight = 375;

} // namespace

LimitDialog::LimitDialog(ChartKind kind, QWidget* parent, ChartLimits& limits,
                         LiveChartProgress& progress, Dialogs& dialogs)
    : QWidget(parent, Qt::Window), kind_(kind), limits_(limits), progress_(progress),
      dialogs_(dialogs) {
    using namespace DialogControls;
    const ChartKindTraits& traits = chartKindTraits(kind);
    setObjectName(traits.limitDialogName);
    setWindowTitle(traits.limitDialogTitle);
    setAttribute(Qt::WA_DeleteOnClose);
    setDialogFont(this);
    const Twips twips(this);
    setFixedSize(twips.toPixels(ClientWidth), twips.toPixels(ClientHeight));

    addCaption(this, "PointsCaption", QStringLiteral("NO.S OF REC"), LeftColumn, 120);
    TXTT2 = addBox(this, "TXTT2", LeftColumn, 420, BoxWidth, BoxHeight);
    Command1 = addButton(this, "Command1", QStringLiteral("OK"), RightColumn, 360, BoxWidth, 495);
    addCaption(this, "MinCaption", QStringLiteral("MIN"), LeftColumn, 1020);
    TXTR1 = addBox(this, "TXTR1", LeftColumn, 1320, BoxWidth, BoxHeight);
    addCaption(this, "MaxCaption", QStringLiteral("MAX"), RightColumn, 1020);
    TXTR2 = addBox(this, "TXTR2", RightColumn, 1320, BoxWidth, BoxHeight);

    connect(Command1, &QPushButton::clicked, this, &LimitDialog::Command1_Click);
    // Connected before the boxes are filled: filling them is a change like any other.
    connect(TXTT2, &QLineEdit::textChanged, this, [this] { boxChanged(LimitBox::Points); });
    connect(TXTR1, &QLineEdit::textChanged, this, [this] { boxChanged(LimitBox::Min); });
    connect(TXTR2, &QLineEdit::textChanged, this, [this] { boxChanged(LimitBox::Max); });
    Form_Load();
}

QLineEdit* LimitDialog::box(LimitBox which) const {
    switch (which) {
    case LimitBox::Points:
        return TXTT2;
    case LimitBox::Min:
        return TXTR1;
    case LimitBox::Max:
        return TXTR2;
    }
    return TXTT2;
}

void LimitDialog::Form_Load() {
    move(0, 0);
    const LimitEntries entries = limitDialogEntries(limits_);
    TXTT2->setText(entries.points);
    TXTR1->setText(entries.min);
    TXTR2->setText(entries.max);
}

void LimitDialog::boxChanged(LimitBox changed) {
    const std::optional<LimitBox> tested = limitBoxTestedOnChange(kind_, changed);
    if (tested && limitTextOutOfRange(box(*tested)->text()))
        box(*tested)->setText(QString());
}

void LimitDialog::Command1_Click() {
    Q_EMIT chartCloseRequested();
    const LimitEntries entries{TXTT2->text(), TXTR1->text(), TXTR2->text()};
    if (confirmLimits(entries, limits_, progress_) == LimitVerdict::Rejected) {
        dialogs_.message(this, invalidLimitsMessage(), Dialogs::Buttons::Ok, Dialogs::Icon::None,
                         applicationTitle());
        return;
    }
    Q_EMIT freshChartRequested();
}
