#include "ui/datalogger/LoggerWindow.h"

#include "device/link/MeterLink.h"
#include "device/waits/PollPause.h"
#include "logic/datalogger/DownloadCheck.h"
#include "logic/datalogger/LoggedSetData.h"
#include "logic/datalogger/LoggerCommandBuffer.h"
#include "logic/datalogger/LoggerCommands.h"
#include "logic/datalogger/MeterStamp.h"
#include "logic/datalogger/RecordTime.h"
#include "logic/datalogger/StatusReply.h"
#include "logic/state/SharedState.h"
#include "logic/text/NumberText.h"
#include "ui/lists/Grid.h"
#include "ui/lists/RecordListing.h"
#include "ui/platform/LayoutFonts.h"
#include "ui/platform/Platform.h"
#include "ui/platform/Twips.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace {

// Fonts of the layout: Times New Roman for buttons and labels, Arial for the text boxes,
// MS Sans Serif for the grid.
const QString serifFamily = QStringLiteral("Times New Roman");
const QString sansFamily = QStringLiteral("Arial");
const QString gridFamily = QStringLiteral("MS Sans Serif");
constexpr int captionPoints = 9;
constexpr int entryPoints = 10;
constexpr int gridPoints = 8;

const QString waitText = QStringLiteral("PLEASE WAIT.....");
const QString invalidEntryMessage = QStringLiteral("INVALID NOs, PLEASE TRY AGAIN!");
const QString noRecordsMessage = QStringLiteral("NO RECORDS, TRY AGAIN");
const QString noAnswerMessage = QStringLiteral("THE METER DOES NOT ANSWER, TRY AGAIN!");

constexpr double clickPauseSeconds = 0.01;
constexpr int directoryRowsBeforeScrolling = 10;

// Where a control stands, in twips, and the member that holds it; captions that never change
// have none.
template <class Control> struct ControlPlace {
    Control* LoggerWindow::*member;
    const char* name;
    const char* caption;
    int left, top, width, height;
};

// The client area is 5400 x 4560 twips.
constexpr int clientWidthTwips = 5400;
constexpr int clientHeightTwips = 4560;

constexpr int gridLeft = 2760, gridTop = 2400, gridWidth = 2535, gridHeight = 2055;
constexpr int setColumnTwips = 500;
constexpr int startColumnMarginTwips = 150;

QFont fontOf(const QString& family, int points) {
    return LayoutFonts::font(family, points, false);
}

int wholeNumber(const QString& text) {
    return static_cast<int>(roundHalfEven(leadingNumber(text)));
}

// The records the check lets through, record 1 stamped with the set's start and each later one
// an interval on. Only records that arrived whole can be listed, and they come after a header.
SetListing listingOf(LoggedSetData data, const DownloadCheck& check, int set) {
    std::optional<RecordTime> time;
    if (const std::optional<DownloadHeader> header = data.header())
        time.emplace(header->start, header->intervalSeconds);
    SetListing listing;
    listing.records = std::clamp(check.listed, 0, data.recordsArrived());
    listing.nextRow = [data = std::move(data), time, record = 0]() mutable {
        if (record++ > 0)
            time->next();
        return data.rowText(record, *time);
    };
    listing.caption = check.recordListCaption(set);
    listing.shortfall = check.message();
    return listing;
}

} // namespace

LoggerWindow::ExchangeScope::ExchangeScope(LoggerWindow& window) : window_(window) {
    window_.exchangeRunning_ = true;
}

LoggerWindow::ExchangeScope::~ExchangeScope() {
    window_.exchangeRunning_ = false;
    if (window_.closed_)
        window_.deleteLater();
    else if (window_.refreshPending_)
        window_.scheduleStatusRefresh();
}

LoggerWindow::LoggerWindow(QWidget* panel, MeterLink& link, LoggerSelection& selection,
                           const Platform& platform, LoggerCommandBuffer& commands,
                           RecordListing& listing)
    : QWidget(panel, Qt::Window), panel_(panel), link_(link), selection_(selection),
      dialogs_(platform.dialogs), waiter_(platform.waiter),
      session_(link, platform.serial, waiter_, platform.clock), commands_(commands),
      listing_(listing) {
    setObjectName(QStringLiteral("LOGGER"));
    setWindowTitle(QStringLiteral("LOGGER"));
    buildControls();
    Form_Load();
}

void LoggerWindow::buildControls() {
    const ControlPlace<QLabel> labelPlaces[] = {
        {nullptr, "Label9", "MEMORY", 120, 120, 1215, 375},
        {&LoggerWindow::Label4, "Label4", "", 120, 480, 1215, 495},
        {nullptr, "Label12", "REMAINING", 1440, 120, 1215, 375},
        {&LoggerWindow::Label6, "Label6", "", 1440, 480, 1215, 495},
        {&LoggerWindow::Label8, "Label8", "", 2880, 0, 2535, 495},
        {&LoggerWindow::Label1, "Label1", "", 2760, 240, 2655, 1095},
        {&LoggerWindow::Label2, "Label2", "MOVE MOUSE TO SELECT !", 2805, 840, 2445, 225},
        {&LoggerWindow::Label3, "Label3", "", 120, 1440, 2535, 495},
        {nullptr, "Label13", "NO.S OF SET RECORDED", 120, 2040, 2535, 375},
        {&LoggerWindow::LBLSET, "LBLSET", "", 120, 2400, 2535, 495},
        {nullptr, "Label10", "NO.S OF RECORDS", 120, 3000, 2535, 375},
        {&LoggerWindow::LBLRECORDS, "LBLRECORDS", "", 120, 3360, 2535, 495},
    };
    const ControlPlace<QPushButton> buttonPlaces[] = {
        {&LoggerWindow::SSCommand6, "SSCommand6", "TIME OF METER", 120, 1080, 2535, 375},
        {&LoggerWindow::SSCommand4, "SSCommand4", "ID CODE", 2760, 1080, 1215, 375},
        {&LoggerWindow::SSCommand5, "SSCommand5", "SAMPLING", 4080, 1080, 1215, 375},
        {&LoggerWindow::SSCommand2, "SSCommand2", "TIME OF RECORDING", 2760, 2040, 2535, 375},
        {&LoggerWindow::SSCommand3, "SSCommand3", "SHOW DATA", 120, 3960, 2535, 495},
    };
    const ControlPlace<QLineEdit> entryPlaces[] = {
        {&LoggerWindow::Text3, "Text3", "", 2760, 1440, 1215, 495},
        {&LoggerWindow::Text2, "Text2", "", 4080, 1440, 1215, 495},
    };

    const Twips twips(this);
    resize(twips.toPixels(clientWidthTwips), twips.toPixels(clientHeightTwips));

    const auto place = [&](auto* control, const auto& at) {
        control->setObjectName(QString::fromLatin1(at.name));
        control->setGeometry(twips.rect(at.left, at.top, at.width, at.height));
        if (at.member)
            this->*at.member = control;
    };
    for (const ControlPlace<QLabel>& at : labelPlaces) {
        auto* label = new QLabel(QString::fromLatin1(at.caption), this);
        place(label, at);
        label->setFont(fontOf(serifFamily, captionPoints));
        label->setAlignment(Qt::AlignCenter);
    }
    for (const ControlPlace<QPushButton>& at : buttonPlaces) {
        auto* button = new QPushButton(QString::fromLatin1(at.caption), this);
        place(button, at);
        button->setFont(fontOf(serifFamily, captionPoints));
    }
    for (const ControlPlace<QLineEdit>& at : entryPlaces) {
        auto* entry = new QLineEdit(this);
        place(entry, at);
        entry->setFont(fontOf(sansFamily, entryPoints));
    }
    Grid1 = new Grid(this, 2);
    Grid1->setGeometry(twips.rect(gridLeft, gridTop, gridWidth, gridHeight));
    Grid1->setFont(fontOf(gridFamily, gridPoints));

    connect(SSCommand6, &QPushButton::clicked, this, &LoggerWindow::SSCommand6_Click);
    connect(SSCommand4, &QPushButton::clicked, this, &LoggerWindow::SSCommand4_Click);
    connect(SSCommand5, &QPushButton::clicked, this, &LoggerWindow::SSCommand5_Click);
    connect(SSCommand2, &QPushButton::clicked, this, &LoggerWindow::SSCommand2_Click);
    connect(SSCommand3, &QPushButton::clicked, this, &LoggerWindow::SSCommand3_Click);
    connect(Grid1, &Grid::cellClicked, this, &LoggerWindow::Grid1_Click);
}

void LoggerWindow::Form_Load() {
    SSCommand3->setEnabled(false);
    if (panel_)
        move(panel_->frameGeometry().width(), 0);
    Grid1->setCurrentRow(0);
    Grid1->setCurrentColumn(0);
    Grid1->setColumnWidthTwips(0, setColumnTwips);
    Grid1->setCellText(0, 0, QStringLiteral("SET"));
    const Twips twips(this);
    const int startWidth =
        QFontMetrics(Grid1->font()).horizontalAdvance(QStringLiteral("00-00-00----00:00:00"));
    Grid1->setColumnWidthTwips(1, static_cast<int>(twips.toTwips(startWidth)) +
                                      startColumnMarginTwips);
    Grid1->setCellText(0, 1, QStringLiteral("   DATE------TIME"));
    Label2->hide();
}

void LoggerWindow::closeLogger() {
    if (!closed_)
        close();
}

void LoggerWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (closed_)
        return;
    closed_ = true;
    // A running exchange gives up at its next wait; the window goes once it has unwound.
    waiter_.cancel();
    Q_EMIT unloaded();
    if (!exchangeRunning_)
        deleteLater();
}

void LoggerWindow::resizeEvent(QResizeEvent* event) {
    // Also sent once when the window is first shown.
    QWidget::resizeEvent(event);
    scheduleStatusRefresh();
}

void LoggerWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        scheduleStatusRefresh();
}

// The refresh runs from the event loop, not inside the show or resize that asked for it.
void LoggerWindow::scheduleStatusRefresh() {
    if (refreshQueued_ || closed_)
        return;
    refreshQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            refreshQueued_ = false;
            Form_Resize();
        },
        Qt::QueuedConnection);
}

void LoggerWindow::Form_Resize() {
    if (closed_)
        return;
    if (exchangeRunning_) {
        refreshPending_ = true;
        return;
    }
    const ExchangeScope scope(*this);
    refreshPending_ = false;
    statusRefresh();
}

void LoggerWindow::statusRefresh() {
    Label1->setText(waitText);
    const Datalogger::StatusRead read = session_.readStatus();
    if (read.outcome == ExchangeOutcome::Cancelled)
        return;
    if (const std::optional<StatusReply>& reply = read.status) {
        Label4->setText(StatusReply::memorySizeText());
        Label6->setText(reply->setCount == 0 ? Label4->text() : reply->remainingText());
        Text3->setText(reply->idCodeText());
        Text2->setText(reply->intervalText());
        if (read.clock)
            Label3->setText(read.clock->clockText());
        LBLSET->setText(reply->setCountText());
    }
    Label1->clear();
    SSCommand2->setFocus();
    if (!read.answered())
        reportNoAnswer();
}

void LoggerWindow::SSCommand6_Click() {
    if (exchangeRunning_ || closed_)
        return;
    const ExchangeScope scope(*this);
    SSCommand6->setEnabled(false);
    Label1->setText(waitText);
    const Datalogger::ClockRead read = session_.readClock(clickPauseSeconds);
    if (read.outcome == ExchangeOutcome::Cancelled)
        return;
    if (read.clock)
        Label3->setText(read.clock->clockText());
    Label1->clear();
    SSCommand6->setEnabled(true);
    if (!read.clock)
        reportNoAnswer();
}

void LoggerWindow::SSCommand4_Click() {
    sendParameter(SSCommand4, Text3, LoggerCommand::IdCode);
}

void LoggerWindow::SSCommand5_Click() {
    sendParameter(SSCommand5, Text2, LoggerCommand::Interval);
}

void LoggerWindow::sendParameter(QPushButton* button, QLineEdit* box, char letter) {
    if (exchangeRunning_ || closed_)
        return;
    const ExchangeScope scope(*this);
    button->setEnabled(false);
    const PollPause pause(link_);
    Label1->setText(waitText);
    if (!waiter_.WaitSeconds(clickPauseSeconds))
        return;
    double value = leadingNumber(box->text());
    if (!LoggerCommandBuffer::isValidParameter(value)) {
        message(invalidEntryMessage, Dialogs::Icon::None);
        if (closed_)
            return;
        box->setText(QStringLiteral("0"));
        value = 0;
    }
    session_.send(letter == LoggerCommand::IdCode ? commands_.idCode(value)
                                                  : commands_.interval(value));
    Label1->clear();
    button->setEnabled(true);
}

void LoggerWindow::SSCommand2_Click() {
    if (exchangeRunning_ || closed_)
        return;
    const ExchangeScope scope(*this);
    const int setCount = wholeNumber(LBLSET->text());
    directory_ = LoggedSetDirectory();
    Label1->setText(waitText);
    const Datalogger::DirectoryRead read =
        session_.readDirectory(setCount, clickPauseSeconds,
                               [this](const QString& progress) { Label8->setText(progress); });
    if (read.outcome == ExchangeOutcome::Cancelled)
        return;
    // What arrived of a directory cut short is listed all the same: every row it gives has its
    // entry.
    directory_ = read.directory;
    const int sets = std::min(setCount, directory_.entryCount());
    for (int set = 1; set <= sets; ++set)
        Grid1->addRowAndFollow(signedNumberText(Grid1->rowCount()) + QLatin1Char('\t') +
                                   directory_.startText(set).value_or(QString()),
                               directoryRowsBeforeScrolling);
    SSCommand2->setEnabled(false);
    Label1->clear();
    Label2->show();
    if (read.outcome != ExchangeOutcome::Done)
        reportNoAnswer();
    else if (directory_.entryCount() == 0)
        message(noRecordsMessage, Dialogs::Icon::None);
}

void LoggerWindow::Grid1_Click() {
    // The set being downloaded stays the chosen one until its records are listed.
    if (exchangeRunning_)
        return;
    Grid1->setCurrentColumn(0);
    selection_.SelectedSet = wholeNumber(Grid1->currentText());
    if (selection_.SelectedSet == 0)
        return;
    // Only a set whose entry arrived can be chosen.
    const std::optional<int> records = directory_.recordCount(selection_.SelectedSet);
    if (!records) {
        selection_.SelectedSet = 0;
        return;
    }
    selection_.SetRecordCount = QString::number(*records);
    LBLRECORDS->setText(selection_.SetRecordCount);
    SSCommand3->setEnabled(true);
}

void LoggerWindow::SSCommand3_Click() {
    if (exchangeRunning_ || closed_)
        return;
    const ExchangeScope scope(*this);
    SSCommand3->setEnabled(false);
    listing_.closeListing();
    // The choice made now holds for the whole download and listing.
    const int set = selection_.SelectedSet;
    const int expected = wholeNumber(LBLRECORDS->text());
    Label1->setText(waitText);
    if (!waiter_.WaitSeconds(clickPauseSeconds))
        return;
    const Datalogger::SetRead read =
        session_.downloadSet(commands_.download(set), expected, false,
                             [this](const QString& progress) { Label8->setText(progress); });
    if (read.outcome == ExchangeOutcome::Cancelled)
        return;
    // The list shows what arrived whole and in step, never more than the set holds. It fills on
    // its own, whatever becomes of this window meanwhile.
    listing_.startListing(listingOf(read.data, read.check, set));
    Label1->clear();
}

void LoggerWindow::reportNoAnswer() {
    message(noAnswerMessage, Dialogs::Icon::Critical);
}

void LoggerWindow::message(const QString& text, Dialogs::Icon icon) {
    dialogs_.message(this, text, Dialogs::Buttons::Ok, icon, applicationTitle());
}
