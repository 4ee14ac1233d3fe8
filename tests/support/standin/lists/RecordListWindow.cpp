#include "lists/RecordListWindow.h"

#include "lists/Grid.h"
#include "lists/ListGridLayout.h"
#include "text/NumberText.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int rowsBeforeScrolling = 26;
}

RecordListWindow::RecordListWindow(QWidget* parent, SharedState&, const Platform&)
    : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("REC_LIST"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    caption_ = new QLabel(client);
    caption_->setObjectName(QStringLiteral("Label1"));
    grid_ = new Grid(client);
    layout->addWidget(caption_);
    layout->addWidget(grid_);
    setCentralWidget(client);
    setUpListGrid(*grid_);
}

void RecordListWindow::setStatusCaption(const QString& text) {
    caption_->setText(text);
}

void RecordListWindow::appendRecordRow(const QString& rowText) {
    grid_->addRow(signedNumberText(grid_->rowCount()) + QLatin1Char('\t') + rowText);
    const int newRow = grid_->rowCount() - 1;
    grid_->setCurrentRow(newRow);
    if (newRow > rowsBeforeScrolling)
        grid_->setFirstVisibleRow(grid_->firstVisibleRow() + 1);
}

void RecordListWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Q_EMIT unloaded();
}
