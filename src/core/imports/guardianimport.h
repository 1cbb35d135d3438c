// The sectioned text export of the Mares Guardian's own software: one dive, its profile one point per minute.
#pragma once

#include "common/translation.h"
#include "imports/importer.h"

#include <string_view>
#include <vector>

namespace zorv::imports {

/*
 * The file is read line by line. "[GENERAL]" and "[POINTS]" (any case) start the
 * two sections; inside one, "key = value ; comment" lines follow until a line with
 * a bracket. Keys match in any case. POINTS holds "P1" ... "Pn", the depth in
 * metres at each minute, n being GENERAL's "NumPoints". The file is in UTF-8 when
 * all of it is well-formed UTF-8 (a byte-order mark is skipped), else in Windows-1252.
 */
class GuardianImporter final : public Importer {
public:
    std::unique_ptr<ImportReader> reader(const ImportSettings &settings) const override;
    std::string_view fileFilter() const override { return common::tr("Export texte Guardian (*.txt)|*.txt|"); }
    std::string_view defaultExtension() const override { return "txt"; }
};

// Depth points (decimetres) to 20-second points: each minute gives its own depth and
// two thirds of the way to the next, the last minute running toward `after` (0 when
// the list is the whole dive), then a closing 0.
std::vector<int> expandMinutePoints(const std::vector<int> &minutePoints, int after = 0);

} // namespace zorv::imports
