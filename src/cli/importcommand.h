// zorv-cli import: one dive from another program's file, shown as a dive page and optionally added to a logbook.
#pragma once

#include "environment.h"

#include <QCommandLineParser>
#include <QString>

namespace zorv::cli {

void addImportOptions(QCommandLineParser &parser);
// Returns the program's exit code.
int commandImport(const QCommandLineParser &parser, Environment &env, const QString &format, const QString &path);

} // namespace zorv::cli
