#pragma once

#include <QStringList>

// meter-logger download --port P (--set N | --all) -o FILE [--format dat|csv|jsonl] [--retries N]
// [--verify]: recorded sets from the meter's datalogger into a file. Returns the exit status.
int runDownload(const QStringList& arguments);
