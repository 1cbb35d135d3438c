// zorv-cli simulate: plays a dive computer on a serial device, to try a transfer without one.
#pragma once

#include <QCommandLineParser>
#include <QString>

namespace zorv::cli {

void addSimulateOptions(QCommandLineParser &parser);
// Returns the program's exit code.
int commandSimulate(const QCommandLineParser &parser, const QString &imagePath);

} // namespace zorv::cli
