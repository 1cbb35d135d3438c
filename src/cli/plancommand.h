// zorv-cli plan: a dive planned from the DECO 92 tables, as text or JSON.
#pragma once

#include <QStringList>

namespace zorv::cli {

// Parses the whole command line ("zorv-cli plan ...") itself and returns the program's exit code.
int commandPlan(const QStringList &arguments);

} // namespace zorv::cli
