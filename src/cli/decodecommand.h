// zorv-cli decode: what the transfer dialog shows of a memory image, and taking its new dives into a logbook.
#pragma once

#include "environment.h"

#include <QCommandLineParser>
#include <QString>

namespace zorv::cli {

void addDecodeOptions(QCommandLineParser &parser);
// Both return the program's exit code.
int commandDecode(const QCommandLineParser &parser, Environment &env, const QString &imagePath);
// Writes the example dumps, and the damaged images the tests refuse, into a folder.
int commandMakeDumps(const QString &folder);

} // namespace zorv::cli
