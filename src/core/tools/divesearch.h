// Finding dives: the one-field search, the criteria search, search and replace, and saving a selection.
#pragma once

#include "common/result.h"
#include "logbook/logbook.h"
#include "tools/divetools.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorv::tools {

// The one-field search, kept for the run so that forward and backward can repeat it.
// Texts are in the stored (OEM) set; convert typed text with logbook::displayToStored.
struct QuickSearch {
    static constexpr int kNone = -1;
    static constexpr int kPlace = 0; // place equal to the text
    static constexpr int kSite = 1; // site equal to the text
    static constexpr int kPartner = 2; // partners containing the text
    static constexpr int kActivity = 3; // the activity below
    static constexpr int kOtherActivity = 19; // activity: otherActivities containing the text

    int field = kNone;
    // 0-11: bit of the first activity set; 12-18: entry (activity - 12) of the
    // second set, found by name in otherActivities; 19: the text in otherActivities.
    int activity = 0;
    std::string text;
};

bool matchQuick(const logbook::DiveRecord &dive, const QuickSearch &search);

enum class SearchDirection {
    FromStart, // the dialog's first search, from dive 1
    Forward, // after `from`
    Backward, // before `from`
};

// The position of the first match, or NotFound with the program's message:
// "Texte de recherche ´%s´ introuvable" / "Activité introuvable" for the first
// search, "Donnée ´%s´ introuvable" / "Cela est introuvable" for the repeats.
// An empty logbook, or no search made yet, finds nothing and says nothing
// (NotFound with an empty message).
common::ResultOr<int> findQuick(
    const logbook::Logbook &logbook, const QuickSearch &search, SearchDirection direction, int from = 0);

enum class CriteriaMode {
    And,
    Or,
};

// The criteria search; a value of 0 or an empty text is a criterion not set. Texts
// are stored (OEM) text. A range with both bounds counts as one criterion in Or mode.
struct SearchCriteria {
    std::uint32_t dateFrom = 0; // day numbers
    std::uint32_t dateTo = 0;
    std::string place; // equal, byte for byte
    std::string site; // equal
    int depthFrom = 0; // centimetres, tested against maxDepth
    int depthTo = 0;
    int altitudeClass = 0; // index, equal
    int weather = 0;
    int suit = 0;
    int durationFrom = 0; // minutes
    int durationTo = 0;
    float consumptionFrom = 0.0f; // litres per minute
    float consumptionTo = 0.0f;
    int tankVolume = 0; // hundredths of a litre, equal
    std::string partner; // contained in partners
    std::uint16_t diveTypeBits = 0; // every bit present
    std::uint16_t activityBits = 0; // every bit present
    std::uint8_t secondActivityBits = 0; // every entry present, flag or name
    std::string otherActivities; // contained in otherActivities
    CriteriaMode mode = CriteriaMode::And;

    bool anySet() const;
};

// And: every set criterion holds (and one at least is set). Or: one holds.
// A field the dive does not record (32767) never satisfies a criterion on it.
bool matchAll(const logbook::Logbook &logbook, const logbook::DiveRecord &dive, const SearchCriteria &criteria);
bool matchAny(const logbook::Logbook &logbook, const logbook::DiveRecord &dive, const SearchCriteria &criteria);
bool matchCriteria(const logbook::Logbook &logbook, const logbook::DiveRecord &dive, const SearchCriteria &criteria);

// The positions of the matching dives, ascending.
std::vector<int> findDives(const logbook::Logbook &logbook, const SearchCriteria &criteria);

// The result list's line: "%05d\t%-8s\t%s, %s" (number, short date, place, site),
// without ", site" when the dive has none. UTF-8.
std::string selectionLine(const logbook::Logbook &logbook, int position);

// The five text fields search and replace works on.
enum class ReplaceField {
    Place,
    Site,
    Partners,
    Comment, // comment and commentMore as one text
    SuitModel,
};

// The characters the field holds.
std::size_t fieldCapacity(ReplaceField field);
// The field's stored text.
std::string fieldText(const logbook::DiveRecord &dive, ReplaceField field);

// The whole text becomes `replacement` when it equals `find`; otherwise only the
// first occurrence of `find` is replaced.
std::string replaceFirst(std::string_view text, std::string_view find, std::string_view replacement);

// One dive the replace would change; texts stored (OEM), the new one already cut to the field.
struct Replacement {
    int position = 0;
    std::string before;
    std::string after;
    bool cut = false; // the replaced text was longer than the field holds
};

// What "&Cherche" lists. An empty `find` finds nothing.
std::vector<Replacement> findReplacements(
    const logbook::Logbook &logbook, ReplaceField field, std::string_view find, std::string_view replacement);
// The list's two lines of one replacement: "%05d\t%s" and "->\t%s", UTF-8.
std::pair<std::string, std::string> replacementLines(const logbook::Logbook &logbook, const Replacement &r);

// "&Remplacer": writes every replacement; ToolChange::cut counts the texts cut
// to the field's capacity and the message then says how many.
ToolResult replaceAll(
    logbook::Logbook &logbook, ReplaceField field, std::string_view find, std::string_view replacement);

// Writes the dives at `positions` as a new logbook file set at `path` through the
// durable save; the records keep their numbers, the logbook is not changed.
common::Result saveSelection(
    const logbook::Logbook &logbook, const std::string &path, const std::vector<int> &positions);

} // namespace zorv::tools
