// zorv-cli stats, sites and partners: the statistics pages and frequency lists as text or JSON.
#pragma once

#include "environment.h"

#include <QCommandLineParser>
#include <QString>

namespace zorv::cli {

void addStatsOptions(QCommandLineParser &parser);
// Each returns the program's exit code: 2 for an unknown page or a bad option.
int commandStats(Environment &env, const QCommandLineParser &parser, const QString &pageName);
int commandFrequencies(Environment &env, const QCommandLineParser &parser, bool partners);

} // namespace zorv::cli
