// zorv-cli commands that change many dives at once: renumber, timeshift, split, merge, find, replace, fill, select.
#pragma once

#include "environment.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace zorv::cli {

void addToolOptions(QCommandLineParser &parser);

// Each loads nothing itself (the logbook is loaded), saves it durably on success
// and leaves the file alone on a refusal, which exits with 2 and the program's message.
int commandRenumber(Environment &env, const QCommandLineParser &parser, const QString &logPath);
int commandTimeShift(Environment &env, const QCommandLineParser &parser, const QString &logPath);
int commandSplit(Environment &env, const QCommandLineParser &parser, const QString &logPath, const QString &number);
int commandMerge(Environment &env, const QString &logPath, const QString &number);
int commandFind(Environment &env, const QCommandLineParser &parser);
int commandReplace(Environment &env, const QCommandLineParser &parser, const QString &logPath);
int commandFill(Environment &env, const QCommandLineParser &parser, const QString &logPath);
int commandSelect(Environment &env, const QCommandLineParser &parser, const QString &outPath);

} // namespace zorv::cli
