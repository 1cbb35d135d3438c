// The .wgm files of the Citizen dive watches' software: fixed-width text fields, one dive, a depth every 5 s.
#pragma once

#include "common/translation.h"
#include "imports/importer.h"

#include <string_view>

namespace zorv::imports {

/*
 * Offsets of the fields used (characters used in brackets); the numbers are metric
 * or imperial as the settings say, the file does not tell:
 *     0 format mark "M" or "F" (1)      2 date "yyyy,mm,dd" (13)
 *    39 buddy (20)   60 place (20)   81 weather (8)   90 comment (200)
 *   291 air temperature: °C with decimals, or whole °F (9)
 *   300 entry time "hh,mm" (8)   309 exit time (8)   318 surface interval (5)
 *   324 dive time (8)   337 maximum depth: decimetres or feet (4)
 *   345 water temperature: tenths of °C or whole °F (4)
 *   485 number of depth values N (4)   493 N depth values, 4 bytes apart (3 each)
 */
class CitizenImporter final : public Importer {
public:
    std::unique_ptr<ImportReader> reader(const ImportSettings &settings) const override;
    std::string_view fileFilter() const override { return common::tr("Fichiers Citizen (*.wgm)|*.wgm|"); }
    std::string_view defaultExtension() const override { return "wgm"; }
};

// The weather code of a free weather word: the last of sun, cloud, fog, rain,
// storm and snow that the text names, in any case; 0 when it names none.
std::uint8_t weatherCode(std::string_view text);

// Feet to metres as the watches' software rounds: cut to whole centimetres, then
// scaled by a single-precision hundredth.
double feetToMetres(int feet);

} // namespace zorv::imports
