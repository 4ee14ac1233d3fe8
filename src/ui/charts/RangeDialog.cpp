#include "ui/charts/RangeDialog.h"

#include "logic/charts/ChartKindTraits.h"
#include "logic/charts/RangeDialogLogic.h"
#include "logic/state/SharedState.h"
#include "ui/charts/DialogControls.h"
#include "ui/platform/Dialogs.h"
#include "ui/platform/Twips.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

// Layout in twips: FROM and TO under the records heading, MIN and MAX under "RANGE", OK below.
constexpr int ClientWidth = 3135;
constexpr int ClientHeight = 3180;
constexpr int LeftColumn = 240;
constexpr int RightColumn = 1680;
constexpr int BoxWidth = 1215;
constexpr int BoxHeight = 375;

} // namespace

RangeDialog::RangeDialog(ChartKind kind, QWidget* parent, RecordedChartValues& values,
                         const LoggerSelection& logger, Dialogs& dialogs,
                         std::function<RecordCells()> cells, const QString& bottomLabel,
                         const QString& topLabel, int left)
    : QWidget(parent, Qt::Window), kind_(kind), values_(values), logger_(logger), dialogs_(dialogs),
      cells_(std::move(cells)) {
    using namespace DialogControls;
    const ChartKindTraits& traits = chartKindTraits(kind);
    setObjectName(traits.rangeDialogName);
    setWindowTitle(traits.rangeDialogTitle);
    setAttribute(Qt::WA_DeleteOnClose);
    setDialogFont(this);
    const Twips twips(this);
    setFixedSize(twips.toPixels(ClientWidth), twips.toPixels(ClientHeight));

    addCaption(this, "RecordsHeading", traits.rangeRecordsHeading, LeftColumn, 120);
    addCaption(this, "FromCaption", QStringLiteral("FROM"), LeftColumn, 420);
    TXTT1 = addBox(this, "TXTT1", LeftColumn, 700, BoxWidth, BoxHeight);
    addCaption(this, "ToCaption", QStringLiteral("TO"), RightColumn, 420);
    TXTT2 = addBox(this, "TXTT2", RightColumn, 700, BoxWidth, BoxHeight);
    addCaption(this, "RangeHeading", QStringLiteral("RANGE"), LeftColumn, 1260);
    addCaption(this, "MinCaption", QStringLiteral("MIN"), LeftColumn, 1560);
    TXTR1 = addBox(this, "TXTR1", LeftColumn, 1840, BoxWidth, BoxHeight);
    addCaption(this, "MaxCaption", QStringLiteral("MAX"), RightColumn, 1560);
    TXTR2 = addBox(this, "TXTR2", RightColumn, 1840, BoxWidth, BoxHeight);
    Command1 = addButton(this, "Command1", QStringLiteral("OK"), 960, 2460, BoxWidth, 495);
    connect(Command1, &QPushButton::clicked, this, &RangeDialog::Command1_Click);

    Form_Load(bottomLabel, topLabel, left);
}

QString RangeDialog::fromText() const {
    return TXTT1->text();
}

void RangeDialog::Form_Load(const QString& bottomLabel, const QString& topLabel, int left) {
    for (QLineEdit* box : {TXTT1, TXTT2, TXTR1, TXTR2})
        box->clear();
    move(left, 0);
    const RangeEntries entries = rangeDialogEntries(values_, bottomLabel, topLabel);
    TXTT1->setText(entries.from);
    TXTT2->setText(entries.to);
    TXTR1->setText(entries.min);
    TXTR2->setText(entries.max);
}

void RangeDialog::Command1_Click() {
    Q_EMIT chartCloseRequested();
    const RangeEntries entries{TXTT1->text(), TXTT2->text(), TXTR1->text(), TXTR2->text()};
    const RecordCells cells = cells_ ? cells_() : RecordCells{};
    const RangeOutcome outcome = confirmRange(entries, logger_.SetRecordCount, cells, values_);
    if (!outcome.accepted) {
        dialogs_.message(this, outcome.message, Dialogs::Buttons::Ok, Dialogs::Icon::Critical,
                         applicationTitle());
        return;
    }
    Q_EMIT freshChartRequested();
}
