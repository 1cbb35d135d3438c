// zorv-cli print: the logbook's printed pages as a PDF, the same pages the print dialog sends to a printer.
#pragma once

#include "environment.h"

#include <QCommandLineParser>
#include <QString>

namespace zorv::cli {

// --from and --to come with the csv command's options.
void addPrintOptions(QCommandLineParser &parser);
// Returns the exit code: 2 for a refused choice (nothing written), 1 when the file cannot be written.
int commandPrint(Environment &env, const QCommandLineParser &parser, const QString &outPath);

} // namespace zorv::cli
