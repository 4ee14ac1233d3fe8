#include "logger/SampleRateCommand.h"

#include "logger/SampleRate.h"
#include "platform/Dialogs.h"
#include "recording/PanelElements.h"

#include <QAction>
#include <QLabel>
#include <QWidget>

SampleRateCommand::SampleRateCommand(QWidget* panel, Dialogs& dialogs)
    : QObject(panel), panel_(panel), dialogs_(dialogs) {
    if (auto* sample = panel_->findChild<QAction*>(QStringLiteral("CMDSAMPLE")))
        connect(sample, &QAction::triggered, this, &SampleRateCommand::CMDSAMPLE_Click);
}

void SampleRateCommand::CMDSAMPLE_Click() {
    auto* label = panel_->findChild<QLabel*>(QStringLiteral("lblsample"));
    if (!label)
        return;
    const QString answer = dialogs_.input(panel_, sampleRatePrompt(), sampleRateTitle(),
                                          sampleRateDefaultText(label->text()));
    if (const std::optional<QString> caption = sampleRateCaption(answer))
        setPanelLabelText(panel_, QStringLiteral("lblsample"), *caption);
}
