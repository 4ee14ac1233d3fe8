#pragma once

#include "logic/recording/DataFileConverter.h"
#include "logic/recording/FileFormat.h"
#include "logic/result/Result.h"

#include <QCommandLineOption>
#include <QString>
#include <QTimeZone>

class QCommandLineParser;

// What convert is asked to do: which file into which, in what format, read in which zone.
struct ConversionPlan {
    QString input;
    QString output;
    FileFormat format = FileFormat::Csv;
    QTimeZone zone;
    // The zone as the user reads it in a message: as given, else this machine's zone's id.
    QString zoneName;
};

// convert's options and its two files: IN.dat OUT [--format] [--tz].
class ConvertOptions {
public:
    ConvertOptions();

    void addTo(QCommandLineParser& parser) const;
    // The plan, or why the call is wrong.
    Result<ConversionPlan> read(const QCommandLineParser& parser) const;

private:
    QCommandLineOption format_;
    QCommandLineOption zone_;
};
