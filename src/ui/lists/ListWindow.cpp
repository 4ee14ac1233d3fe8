#include "ui/lists/ListWindow.h"

#include "logic/state/SharedState.h"
#include "ui/lists/Grid.h"
#include "ui/lists/ListGridLayout.h"
#include "ui/lists/PrintListReport.h"
#include "ui/platform/LayoutFonts.h"
#include "ui/platform/Printer.h"
#include "ui/platform/Twips.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int rowsBeforeScrolling = 26;

// Layout in twips: the grid stands 120 twips inside the window, 5055 wide and 6375 high.
constexpr int gridMarginTwips = 120;
constexpr int gridWidthTwips = 5055;
constexpr int gridHeightTwips = 6375;

} // namespace

ListWindow::ListWindow(QWidget* panel, RecordingState& recording, Dialogs& dialogs,
                       Printer& printer, Waiter& waiter)
    : QMainWindow(panel, Qt::Window), recording_(recording), dialogs_(dialogs), printer_(printer),
      waiter_(waiter) {
    setObjectName(QStringLiteral("LIST"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("LIST"));

    continue_ = menuBar()->addAction(QStringLiteral("CONTINUE"));
    continue_->setObjectName(QStringLiteral("CONTINUE"));
    pause_ = menuBar()->addAction(QStringLiteral("PAUSE"));
    pause_->setObjectName(QStringLiteral("PAUSE"));
    print_ = menuBar()->addAction(QStringLiteral("PRINT"));
    print_->setObjectName(QStringLiteral("PRINT"));
    connect(continue_, &QAction::triggered, this, &ListWindow::CONTINUE_Click);
    connect(pause_, &QAction::triggered, this, &ListWindow::PAUSE_Click);
    connect(print_, &QAction::triggered, this, &ListWindow::PRINT_Click);
    printer_.busy().offerOnlyWhileFree(*print_);

    // The dialog font at 8 points, in which the column samples are measured.
    setFont(LayoutFonts::font(QStringLiteral("MS Sans Serif"), 8, false));

    const Twips twips(this);
    auto* client = new QWidget(this);
    grid_ = new Grid(client);
    auto* layout = new QVBoxLayout(client);
    const int margin = twips.toPixels(gridMarginTwips);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(grid_);
    setCentralWidget(client);

    Form_Load();

    // At least the laid-out size; wider when the font's columns need it, and tall enough for
    // the header and the 26 rows listed before the list starts to scroll, so that the newest
    // row stays in view whatever the font.
    const QSize gridSize = grid_->sizeForRows(rowsBeforeScrolling);
    resize(std::max(gridSize.width(), twips.toPixels(gridWidthTwips)) + 2 * margin,
           std::max(gridSize.height(), twips.toPixels(gridHeightTwips)) + 2 * margin +
               menuBar()->sizeHint().height());
}

void ListWindow::Form_Load() {
    if (const QWidget* panel = parentWidget())
        move(panel->frameGeometry().width(), 0);
    setUpListGrid(*grid_);
    continue_->setEnabled(false);
    pause_->setEnabled(true);
}

void ListWindow::PAUSE_Click() {
    recording_.ListLive = 0;
    pause_->setEnabled(false);
    continue_->setEnabled(true);
}

void ListWindow::CONTINUE_Click() {
    recording_.ListLive = 1;
    continue_->setEnabled(false);
    pause_->setEnabled(true);
}

void ListWindow::PRINT_Click() {
    PrintListReport(*grid_, printer_, waiter_, dialogs_);
}

void ListWindow::addLiveRow(const QString& rowBody) {
    grid_->addRowAndFollow(QString::number(grid_->rowCount()) + QLatin1Char('\t') + rowBody,
                           rowsBeforeScrolling);
}

void ListWindow::showAsFileView() {
    pause_->setVisible(false);
    continue_->setVisible(false);
}

void ListWindow::closeEvent(QCloseEvent* event) {
    recording_.ListLive = 0;
    event->accept();
    Q_EMIT unloaded();
}
