#include "ui/lists/RecordListWindow.h"

#include "logic/text/NumberText.h"
#include "ui/lists/Grid.h"
#include "ui/lists/ListGridLayout.h"
#include "ui/lists/PrintListReport.h"
#include "ui/lists/RecordLister.h"
#include "ui/lists/SaveRecordRows.h"
#include "ui/platform/Dialogs.h"
#include "ui/platform/LayoutFonts.h"
#include "ui/platform/Printer.h"
#include "ui/platform/Twips.h"
#include "ui/recording/RecordedFile.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>

namespace {

constexpr int rowsBeforeScrolling = 26;

// Layout in twips.
constexpr int clientWidthTwips = 5235;
constexpr int clientHeightTwips = 6825;
constexpr int marginTwips = 120;
constexpr int labelHeightTwips = 615;
constexpr int gridTopTwips = 840;
constexpr int gridWidthTwips = 5055;
constexpr int gridHeightTwips = 5895;

QString saveFilter() {
    return QStringLiteral("Data File[*.dat]|*.dat|All type[*.*]|*.*");
}

} // namespace

RecordListWindow::RecordListWindow(QWidget* parent, const Platform& platform)
    : QMainWindow(parent, Qt::Window), platform_(platform) {
    setObjectName(QStringLiteral("REC_LIST"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("REC_LIST"));

    QMenu* graph = menuBar()->addMenu(QStringLiteral("GRAPH"));
    graph->setObjectName(QStringLiteral("GRAPH"));
    QAction* humidity = graph->addAction(QStringLiteral("HUMIDITY"));
    humidity->setObjectName(QStringLiteral("HUMIDITY"));
    QAction* temperature = graph->addAction(QStringLiteral("TEMPERATURE"));
    temperature->setObjectName(QStringLiteral("TEMPERATURE"));
    QMenu* file = menuBar()->addMenu(QStringLiteral("FILE"));
    file->setObjectName(QStringLiteral("mnufile"));
    QAction* save = file->addAction(QStringLiteral("SAVE"));
    save->setObjectName(QStringLiteral("MNUSAVE"));
    print_ = file->addAction(QStringLiteral("PRINT"));
    print_->setObjectName(QStringLiteral("PRINT"));
    connect(humidity, &QAction::triggered, this, &RecordListWindow::HUMIDITY_Click);
    connect(temperature, &QAction::triggered, this, &RecordListWindow::TEMPERATURE_Click);
    connect(save, &QAction::triggered, this, &RecordListWindow::MNUSAVE_Click);
    connect(print_, &QAction::triggered, this, &RecordListWindow::PRINT_Click);
    platform_.printer.busy().offerOnlyWhileFree(*print_);

    // The dialog font at 8 points, in which the column samples are measured.
    setFont(LayoutFonts::font(QStringLiteral("MS Sans Serif"), 8, false));

    auto* client = new QWidget(this);
    setCentralWidget(client);
    label1_ = new QLabel(client);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setFont(LayoutFonts::font(QStringLiteral("Times New Roman"), 12, false));
    // A caption longer than one line (a download cut short says so) wraps inside the label.
    label1_->setWordWrap(true);
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid_ = new Grid(client);

    Form_Load();
    layOut();
}

void RecordListWindow::Form_Load() {
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().topLeft());
    setUpListGrid(*grid_);
}

// The laid-out boxes, widened when the font's columns need more room and heightened so that the
// header and the 26 rows listed before the list scrolls fit, keeping the newest record in view.
void RecordListWindow::layOut() {
    const Twips twips(this);
    const QSize gridSize = grid_->sizeForRows(rowsBeforeScrolling);
    const int margin = twips.toPixels(marginTwips);
    const int width = std::max(gridSize.width(), twips.toPixels(gridWidthTwips));
    const int height = std::max(gridSize.height(), twips.toPixels(gridHeightTwips));
    const int gridTop = twips.toPixels(gridTopTwips);
    label1_->setGeometry(margin, margin, width, twips.toPixels(labelHeightTwips));
    grid_->setGeometry(margin, gridTop, width, height);
    const int bottomMargin = twips.toPixels(clientHeightTwips - gridTopTwips - gridHeightTwips);
    centralWidget()->setMinimumSize(
        std::max(width + 2 * margin, twips.toPixels(clientWidthTwips)),
        std::max(gridTop + height + bottomMargin, twips.toPixels(clientHeightTwips)));
    resize(centralWidget()->minimumWidth(),
           centralWidget()->minimumHeight() + menuBar()->sizeHint().height());
}

void RecordListWindow::setStatusCaption(const QString& text) {
    label1_->setText(text);
}

void RecordListWindow::appendRecordRow(const QString& rowText) {
    grid_->addRowAndFollow(signedNumberText(grid_->rowCount()) + QLatin1Char('\t') + rowText,
                           rowsBeforeScrolling);
}

void RecordListWindow::listRecords(SetListing listing) {
    new RecordLister(this, std::move(listing), platform_.dialogs, platform_.waiter);
}

void RecordListWindow::HUMIDITY_Click() {
    Q_EMIT humidityChartRequested();
}

void RecordListWindow::TEMPERATURE_Click() {
    Q_EMIT temperatureChartRequested();
}

void RecordListWindow::MNUSAVE_Click() {
    const QString path = cmd1_.choose(platform_.dialogs, this, true, saveFilter());
    if (path.isEmpty())
        return;
    if (recordedFile_ != nullptr && recordedFile_->isBeingRecorded(path)) {
        showFailure(platform_.dialogs, this, QStringLiteral("THE RECORDS WERE NOT SAVED"),
                    QStringLiteral("%1\nis the file being recorded. Choose another file.\n"
                                   "The recording and its file are left as they were.")
                        .arg(QDir::toNativeSeparators(path)));
        return;
    }
    QString reason;
    if (saveRecordRows(*grid_, path, reason))
        return;
    // Saying nothing would let the user believe the records are kept.
    showFailure(platform_.dialogs, this, QStringLiteral("THE RECORDS WERE NOT SAVED"),
                QStringLiteral("%1\ncould not be written (%2).\n"
                               "A file of that name that was there before is left as it was.")
                    .arg(QDir::toNativeSeparators(path), reason));
}

void RecordListWindow::PRINT_Click() {
    PrintListReport(*grid_, platform_.printer, platform_.waiter, platform_.dialogs);
}

void RecordListWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Q_EMIT unloaded();
}
