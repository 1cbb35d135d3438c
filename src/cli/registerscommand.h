// zorv-cli's register commands: each register listed as its window shows it, or as JSON.
#pragma once

#include "environment.h"

#include <QCommandLineParser>
#include <QString>

namespace zorv::cli {

void addRegisterOptions(QCommandLineParser &parser);
// equipment, addresses, teaching: a register file of its own.
bool isRegisterFileCommand(const QString &command);
// trips, certificates, forecast: the companions of a logbook.
bool isLogbookRegisterCommand(const QString &command);
// The exit code. For the logbook registers, env.logbook is loaded.
int commandRegister(const QCommandLineParser &parser, Environment &env, const QString &command, const QString &path);

} // namespace zorv::cli
