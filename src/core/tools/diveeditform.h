// The dive edit dialog without its widgets: what each control shows, what it may change, and how it is stored back.
#pragma once

#include "common/result.h"
#include "common/translation.h"
#include "computers/computercatalogue.h"
#include "logbook/diverecord.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/logbook.h"
#include "logbook/suggestionlists.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::tools {

// Longest texts the controls accept, in characters; each is its record field's capacity.
inline constexpr int kPlaceInputLength = 60;
inline constexpr int kSiteInputLength = 60;
inline constexpr int kModelInputLength = 25;
inline constexpr int kOtherActivitiesInputLength = 40;
inline constexpr int kPartnerChoiceInputLength = 80;
inline constexpr int kPartnersInputLength = 80;
// Standard mode has no .add file, so the comment's second half would not survive a save there.
int commentInputLength(logbook::Mode mode);

// A radio group of two flags: the first, the second, or neither.
enum class Choice {
    First,
    Second,
    Neither,
};

// Which of the two computer pick lists the dialog shows: every type the
// catalogue knows, whatever its gas, or only the types of the imports.
enum class ComputerList {
    All,
    Import,
};

// The contents of the dialog's controls, texts in UTF-8. List indexes are -1
// when the stored value has no entry in the list.
struct DiveEditValues {
    std::string number;
    std::string date;
    std::string time;
    std::string place;
    std::string site;
    int altitudeClass = 0;
    std::string interval;
    int weather = 0;
    std::string airTemperature;
    std::string weights;
    int suit = 0;
    std::string model;
    std::string tankVolume;
    std::string tankPressure;
    int tankMaterial = 0;
    std::string maxDepth;
    std::string visibility;
    std::string duration;
    std::string minWaterTemperature;
    std::string airUsed;
    std::string airConsumption; // shown only
    Choice decompression = Choice::Neither;
    Choice ascent = Choice::Neither;
    Choice water = Choice::Neither; // neither: a decompression-chamber run
    bool nitrox = false;
    bool scr = false;
    std::array<bool, 12> activities {};
    std::array<bool, 8> secondSet {};
    // The user's own words; in standard mode the names of the second set are
    // kept out of this box and shown in the result only.
    std::string otherActivities;
    std::string result; // shown only: the whole text stored in the dive
    Choice boatShore = Choice::Neither;
    Choice leader = Choice::Neither;
    std::string partnerChoice;
    std::string partners;
    std::string comment;
    int computer = -1; // position in the computer list shown

    bool operator==(const DiveEditValues &) const = default;
};

// Two switches the user sets in the dialog that hold until the program ends.
struct DiveEditSwitches {
    bool shortNames = false; // "utilser abréviation"
    bool freeData = false; // "Données libres"
};

// Which controls the dialog shows and which the user may change.
struct ControlStates {
    bool previousDiveEnabled = false;
    // Weights, visibility, tank pressure and material, suit model, boat/shore and leader groups.
    bool advancedShown = false;
    bool shortNameSwitchShown = false;
    // Number, date, time, altitude class, interval, depth, duration, minimum
    // temperature, air used and the warnings button: what a computer measured.
    bool measuredEnabled = true;
    bool airTemperatureEnabled = true;
    ComputerList computerList = ComputerList::All;
    bool computerEnabled = true;
    bool addPartnerEnabled = false;
    int commentLength = 255;
};

// The warnings dialog's four boxes: the bit of `warnings` and the box's label, translated where shown.
struct WarningBox {
    int bit;
    const char *label;
};
inline constexpr std::array<WarningBox, 4> kWarningBoxes { {
    { 0, N_("&Remontée") },
    { 3, N_("&Déco") },
    { 4, N_("&Travail") },
    { 5, N_("&SOS") },
} };
// The warnings with the four boxes' bits set as ticked; the bits without a box stay as they were.
std::uint16_t applyWarningBoxes(std::uint16_t warnings, const std::array<bool, 4> &ticked);

// Appends a partner's name (stored form) to a partners text (stored form) as
// the "-->>" button does: after ", " when that fits in 80 characters, after ","
// when only that fits, not at all otherwise; nothing for an empty name or one
// the text already holds.
std::string appendPartner(std::string_view partners, std::string_view name);

// Typed text that no value of its field can match: an impossible date or time
// of day, minutes past 59, text that is not a number in a numeric field, or a
// number the field cannot hold (the field would store something else than what
// was typed). Empty text means no value and is taken. The message names the field.
common::Result checkTypedValue(const logbook::FieldCatalogue &fields, logbook::Field field, std::string_view text);

// Copies from the dive before what usually stays the same from one dive to the next.
void copyFromPreviousDive(const logbook::DiveRecord &previous, logbook::DiveRecord &record);

// The dialog's working state. The widget reads its controls into a
// DiveEditValues, hands it to one of the operations below, and shows shown()
// again afterwards. A control whose text the user did not change leaves its
// field alone: formatting and parsing again would round values (1.55 m
// through feet), and OK on an unchanged dive must change nothing.
class DiveEditForm {
public:
    // The logbook is used for the previous dive, the second activity set and the
    // suggestion lists; all three must outlive the form.
    DiveEditForm(logbook::Logbook &logbook, const computers::ComputerCatalogue &catalogue, DiveEditSwitches &switches);

    // Position 0 is a new dive.
    void setRecord(const logbook::DiveRecord &record, int position);
    // The working record into the controls' contents, as shown after the last operation.
    const DiveEditValues &shown() const { return m_display; }
    ControlStates states() const;
    const DiveEditSwitches &switches() const { return m_switches; }

    // Rows of the lists; a list's row i is the type computerIds(list)[i].
    std::vector<std::string> computerRows(ComputerList list) const;
    std::vector<std::string> computerRows() const { return computerRows(states().computerList); }
    std::vector<std::uint8_t> computerIds(ComputerList list) const;
    std::array<std::string, 8> secondSetLabels() const;
    std::vector<std::string> altitudeClassRows() const;

    // Reads the controls into the working record (locked fields excepted) and
    // shows it again. A value checkTypedValue refuses is not stored: its control
    // keeps the typed text, so that OK refuses it again.
    void store(const DiveEditValues &controls);
    // The first typed value OK would refuse, in the order of the dialog.
    common::Result check(const DiveEditValues &controls) const;
    // The place combo lost the focus: the logbook's sites-of-a-place list now holds the new place's sites.
    void placeLeft(const DiveEditValues &controls);
    // A second-set box was clicked, or the other-activities combo lost the focus.
    void secondSetChanged(const DiveEditValues &controls);
    void setShortNames(const DiveEditValues &controls, bool on);
    void setFreeData(const DiveEditValues &controls, bool on);
    // The partner combo's text changed (it only decides whether "-->>" may be used).
    void choosePartner(const std::string &choice) { m_partnerChoice = choice; }
    void addPartner(const DiveEditValues &controls);
    // The air used or the tank volume lost the focus.
    void airFieldsLeft(const DiveEditValues &controls);
    // False (and nothing copied) when there is no dive before this one.
    bool usePreviousDive(const DiveEditValues &controls);
    std::uint16_t warnings() const { return m_working.warnings; }
    void setWarnings(std::uint16_t warnings) { m_working.warnings = warnings; }
    // OK: stores the controls and computes the air consumption of a changed
    // dive. A refused value stores nothing and keeps the dialog open.
    common::Result accept(const DiveEditValues &controls);

    // The working record for a new dive or one that differs from the record given;
    // empty when the logbook need not change.
    std::optional<logbook::DiveRecord> changedRecord() const;
    const logbook::DiveRecord &working() const { return m_working; }
    // The values the logbook's dives hold, for the combo boxes.
    const logbook::SuggestionLists &lists() const { return m_lists; }

private:
    bool measuredLocked() const;
    ComputerList computerList() const;
    void computeConsumptionOfChangedDive();
    void show();

    logbook::Logbook &m_logbook;
    const computers::ComputerCatalogue &m_catalogue;
    DiveEditSwitches &m_switches;
    logbook::FieldCatalogue m_fields;
    logbook::SuggestionLists m_lists;
    logbook::DiveRecord m_working;
    logbook::DiveRecord m_reference;
    int m_position = 0;
    std::string m_partnerChoice;
    DiveEditValues m_shown; // the working record's own texts: what counts as unchanged
    DiveEditValues m_display; // m_shown with the refused texts the user typed
};

} // namespace zorv::tools
