// What the transfer dialog shows of a received image: the computer's settings as texts and the rows of new dives.
#pragma once

#include "transfer/memoryimage.h"

#include <array>
#include <string>
#include <vector>

namespace zorv::computers {
class ComputerCatalogue;
} // namespace zorv::computers

namespace zorv::transfer {

// The nine fields of the group "Ordinateur", in the order of the dialog and of
// the "Transfer" settings keys that keep the last transfer's values.
enum class InfoField {
    SerialNumber,
    ComputerType,
    TotalDives,
    Battery,
    Beeper,
    Units,
    MaxPpO2,
    AirReserve,
    BreathingSensitivity,
};
inline constexpr int kInfoFieldCount = 9;

using InfoTexts = std::array<std::string, kInfoFieldCount>;

// UTF-8. The ppO2 is only shown for nitrox computers, reserve and breathing only
// for air-integrated ones; the others get the empty text.
InfoTexts infoTexts(const ComputerSettings &settings, const computers::ComputerCatalogue &catalogue);
// "Numéro de série:" .. "Sensibilité respiration:", as the dialog labels them.
const char *infoLabel(InfoField field);
// The "Transfer" settings key that keeps the field: "SerNum" .. "Atmung".
const char *infoKey(InfoField field);
// The battery percent that colours the battery field, truncated.
int batteryPercent(const ComputerSettings &settings);

// One row of the dialog's list of new dives, column by column.
struct TransferRow {
    std::string number; // "%5d"
    std::string date; // long date form
    std::string time; // "%02d:%02d"
    std::string depth; // "%.1f m" or "%.0f ft"
    std::string duration; // "%d Min."
    std::string pressureDrop; // "%.0f bar" or "%.0f psi"; empty when none
    std::string profile; // "*" when the dive brought a profile
};
inline constexpr int kTransferColumnCount = 7;
// "Numéro", "Date", "Montre", "Prof.", "Heure", "dP", "Profil".
std::array<std::string, kTransferColumnCount> transferColumnTitles();

// Rows for the decoded dives from `firstNew` to the newest, numbered on from
// `firstNumber`. Imperial follows the computer's own unit setting, not the logbook's.
std::vector<TransferRow> transferRows(const MemoryImage &memory, int firstNew, int firstNumber, bool imperial);
// 1 for an empty logbook, else the last dive's number + 1.
int firstTransferNumber(const logbook::Logbook &logbook);

} // namespace zorv::transfer
