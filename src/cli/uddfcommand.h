// zorv-cli uddf and import uddf: the logbook and its registers out to UDDF and dives from UDDF in.
#pragma once

#include "environment.h"

#include <QCommandLineParser>
#include <QString>

namespace zorv::cli {

void addUddfOptions(QCommandLineParser &parser);
// Each returns the program's exit code.
int commandUddfExport(Environment &env, const QCommandLineParser &parser, const QString &outPath);
int commandUddfImport(const QCommandLineParser &parser, Environment &env, const QString &path);

} // namespace zorv::cli
