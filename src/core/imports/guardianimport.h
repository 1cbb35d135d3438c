// The sectioned text export of the Mares Guardian's own software: one dive, its profile one point per minute.
#pragma once

#include "imports/importer.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorv::imports {

/*
 * The file is read line by line. "[GENERAL]" and "[POINTS]" (any case) start the
 * two sections; inside one, "key = value ; comment" lines follow until a line with
 * a bracket. Keys match in any case. POINTS holds "P1" ... "Pn", the depth in
 * metres at each minute, n being GENERAL's "NumPoints".
 */
class SectionedText {
public:
    explicit SectionedText(std::string_view text);

    // The value of `key` in the first `section` of that name, trimmed; nullopt when
    // the section or the key is absent. Both names are compared in upper case.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // The entries of that section in file order, keys in upper case.
    const std::vector<std::pair<std::string, std::string>> &entries(std::string_view section) const;

private:
    struct Section {
        std::string name; // upper case
        std::vector<std::pair<std::string, std::string>> entries;
    };
    const Section *find(std::string_view section) const;
    std::vector<Section> m_sections;
};

class GuardianImporter final : public Importer {
public:
    common::ResultOr<ImportedDive> read(
        std::span<const std::uint8_t> bytes, const ImportSettings &settings) const override;
    std::string_view fileFilter() const override { return "Guardian Text Export (*.txt)|*.txt|"; }
    std::string_view defaultExtension() const override { return "txt"; }
};

// Depth points (decimetres) to 20-second points: each minute gives its own depth and
// two thirds of the way to the next, the last minute running toward `after` (0 when
// the list is the whole dive), then a closing 0.
std::vector<int> expandMinutePoints(const std::vector<int> &minutePoints, int after = 0);

} // namespace zorv::imports
