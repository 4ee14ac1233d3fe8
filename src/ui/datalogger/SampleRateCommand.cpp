#include "ui/datalogger/SampleRateCommand.h"

#include "logic/datalogger/SampleRate.h"
#include "ui/platform/Dialogs.h"

#include <QWidget>

SampleRateCommand::SampleRateCommand(QWidget* dialogParent, Dialogs& dialogs,
                                     std::function<QString()> currentCaption)
    : QObject(dialogParent), dialogParent_(dialogParent), dialogs_(dialogs),
      currentCaption_(std::move(currentCaption)) {}

void SampleRateCommand::CMDSAMPLE_Click() {
    const QString answer = dialogs_.input(dialogParent_, sampleRatePrompt(), sampleRateTitle(),
                                          sampleRateDefaultText(currentCaption_()));
    if (const std::optional<QString> caption = sampleRateCaption(answer))
        Q_EMIT sampleRateChosen(*caption);
}
