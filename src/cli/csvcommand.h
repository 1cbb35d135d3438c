// zorv-cli csv: the spreadsheet export of the desktop program, for scripts.
#pragma once

#include "environment.h"

#include <QCommandLineParser>
#include <QString>

namespace zorv::cli {

void addCsvOptions(QCommandLineParser &parser);
// Writes the same bytes as the export dialog for the same choices. Returns the exit code: 2 for a
// refused choice (nothing written), 1 when the file cannot be written.
int commandCsv(Environment &env, const QCommandLineParser &parser, const QString &outPath);

} // namespace zorv::cli
