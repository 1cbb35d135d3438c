// zorv-cli render-profile: the profile window's picture of one dive, written as a PNG.
#pragma once

#include "environment.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <memory>

namespace zorv::cli {

// Rendering text (render-profile, print) needs a GUI application; every other command stays headless
// and gets a plain core application.
std::unique_ptr<QCoreApplication> createApplication(int &argc, char **argv);

void addRenderProfileOptions(QCommandLineParser &parser);
// Returns the program's exit code: 2 for a bad position or option, 1 when the image cannot be written.
int commandRenderProfile(
    Environment &env, const QCommandLineParser &parser, const QString &positionText, const QString &outPath);

} // namespace zorv::cli
