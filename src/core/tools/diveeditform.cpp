#include "tools/diveeditform.h"

#include "common/cformat.h"
#include "common/decimal.h"
#include "common/strings.h"
#include "common/translation.h"
#include "logbook/daynumber.h"
#include "logbook/names.h"
#include "logbook/oemcharmap.h"
#include "logbook/secondactivities.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace zorv::tools {

using logbook::DiveRecord;
using logbook::Field;
namespace dive_type = logbook::dive_type;
namespace extra_flags = logbook::extra_flags;

namespace {

    Choice choiceOf(std::uint16_t bits, std::uint16_t first, std::uint16_t second)
    {
        if (bits & first)
            return Choice::First;
        if (bits & second)
            return Choice::Second;
        return Choice::Neither;
    }

    template <typename T> void setChoice(T &bits, Choice choice, std::uint16_t first, std::uint16_t second)
    {
        unsigned value = bits & ~static_cast<unsigned>(first | second);
        if (choice == Choice::First)
            value |= first;
        else if (choice == Choice::Second)
            value |= second;
        bits = static_cast<T>(value);
    }

    void setBit(std::uint16_t &bits, std::uint16_t bit, bool on)
    {
        bits = static_cast<std::uint16_t>(on ? bits | bit : bits & ~bit);
    }

    std::uint8_t bitsOf(const std::array<bool, 8> &boxes)
    {
        unsigned set = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i])
                set |= 1u << i;
        return static_cast<std::uint8_t>(set);
    }

    int listIndex(int stored, int count)
    {
        return stored >= 0 && stored < count ? stored : -1;
    }

    // The typed fields in the order of the dialog, with the label that names them in a refusal.
    struct TypedField {
        std::string DiveEditValues::*text;
        Field field;
        const char *label;
        bool measured; // locked while a computer's values may not be edited
        bool advanced; // shown in advanced mode only
    };
    constexpr TypedField kTypedFields[] = {
        { &DiveEditValues::date, Field::Date, N_("Date"), true, false },
        { &DiveEditValues::time, Field::EntryTime, N_("Heure"), true, false },
        { &DiveEditValues::number, Field::DiveNumber, N_("Numéro"), true, false },
        { &DiveEditValues::interval, Field::SurfaceInterval, N_("Intervalle"), true, false },
        { &DiveEditValues::airTemperature, Field::AirTemperature, N_("Temp. air"), false, false },
        { &DiveEditValues::weights, Field::Weights, N_("Plombs"), false, true },
        { &DiveEditValues::tankVolume, Field::TankVolume, N_("Cont. bouteille"), false, false },
        { &DiveEditValues::tankPressure, Field::TankPressure, N_("Pression bouteille"), false, true },
        { &DiveEditValues::maxDepth, Field::MaxDepth, N_("Prof. max."), true, false },
        { &DiveEditValues::visibility, Field::Visibility, N_("Visibilité"), false, true },
        { &DiveEditValues::duration, Field::Duration, N_("Durée"), true, false },
        { &DiveEditValues::minWaterTemperature, Field::MinWaterTemperature, N_("Temp. eau min."), true, false },
        { &DiveEditValues::airUsed, Field::AirUsed, N_("Cons. air"), true, false },
    };

    std::string_view labelOf(Field field)
    {
        for (const TypedField &t : kTypedFields)
            if (t.field == field)
                return common::tr(t.label);
        return {};
    }

    // Whole numbers separated by `separator`, each after optional blanks; the
    // text must end after the last one (trailing blanks allowed). At most `max` parts.
    bool splitNumbers(std::string_view text, char separator, std::vector<long> &parts, std::size_t max)
    {
        std::size_t pos = 0;
        parts.clear();
        while (true) {
            while (pos < text.size() && text[pos] == ' ')
                ++pos;
            const std::size_t start = pos;
            long value = 0;
            while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && value < 1000000)
                value = value * 10 + (text[pos++] - '0');
            if (pos == start || parts.size() == max)
                return false;
            parts.push_back(value);
            while (pos < text.size() && text[pos] == ' ')
                ++pos;
            if (pos == text.size())
                return true;
            if (text[pos] != separator)
                return false;
            ++pos;
        }
    }

    int daysInMonth(int month, int year)
    {
        constexpr int kDays[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
        return month == 2 && logbook::isLeapYear(year) ? 29 : kDays[month - 1];
    }

    bool possibleDate(std::string_view text)
    {
        std::vector<long> parts;
        if (!splitNumbers(text, '.', parts, 3) || parts.size() < 2)
            return false;
        // Two-digit years as the date field reads them: below 20 in the 2000s.
        long year = parts.size() == 3 ? parts[2] : 0;
        if (year < 20)
            year += 2000;
        else if (year < 100)
            year += 1900;
        const long month = parts[1];
        if (month < 1 || month > 12 || year < 1600 || year > 9999)
            return false;
        return parts[0] >= 1 && parts[0] <= daysInMonth(static_cast<int>(month), static_cast<int>(year));
    }

    // "h:m" with minutes below 60, or plain minutes; a time of day stays within the day.
    bool possibleMinutes(std::string_view text, bool timeOfDay)
    {
        std::vector<long> parts;
        if (!splitNumbers(text, ':', parts, 2))
            return false;
        long minutes = parts.back();
        if (parts.size() == 2) {
            if (minutes > 59 || (timeOfDay && parts[0] > 23))
                return false;
            minutes += parts[0] * 60;
        }
        return timeOfDay ? minutes < 24 * 60 : minutes < logbook::kMissing;
    }

} // namespace

common::Result checkTypedValue(const logbook::FieldCatalogue &fields, Field field, std::string_view text)
{
    if (text.find_first_not_of(' ') == std::string_view::npos)
        return common::Result::success();
    bool possible = true;
    switch (field) {
    case Field::Date:
        possible = possibleDate(text);
        break;
    case Field::EntryTime:
        possible = possibleMinutes(text, true);
        break;
    case Field::SurfaceInterval:
    case Field::Duration:
        possible = possibleMinutes(text, false);
        break;
    default: {
        DiveRecord scratch;
        const logbook::Parsed parsed = fields.toRecord(field, text, scratch);
        if (parsed == logbook::Parsed::NotTyped)
            break;
        if (parsed != logbook::Parsed::Stored)
            return common::Result::failure(
                common::Status::Refused, logbook::refusalMessage(parsed, labelOf(field), text));
        // A number is refused too when the field would keep another value than
        // the one typed (a tank pressure above what a tank holds).
        const std::optional<double> typed = common::parseDecimal(text);
        if (!typed)
            break;
        const std::optional<double> kept = common::parseDecimal(fields.fromRecord(field, scratch));
        possible = kept && std::fabs(*kept - *typed) <= 1.0 + 0.01 * std::fabs(*typed);
        break;
    }
    }
    if (possible)
        return common::Result::success();
    return common::Result::failure(common::Status::Refused,
        common::cformat(common::tr("Valeur impossible dans « %s » : « %s »."), std::string(labelOf(field)).c_str(),
            std::string(text).c_str()));
}

int commentInputLength(logbook::Mode mode)
{
    return mode == logbook::Mode::Advanced ? static_cast<int>(logbook::kCommentLength + logbook::kCommentMoreLength)
                                           : static_cast<int>(logbook::kCommentLength);
}

std::uint16_t applyWarningBoxes(std::uint16_t warnings, const std::array<bool, 4> &ticked)
{
    for (std::size_t i = 0; i < kWarningBoxes.size(); ++i)
        setBit(warnings, static_cast<std::uint16_t>(1u << kWarningBoxes[i].bit), ticked[i]);
    return warnings;
}

std::string appendPartner(std::string_view partners, std::string_view name)
{
    std::string text(partners);
    if (name.empty() || partners.find(name) != std::string_view::npos)
        return text;
    if (text.empty()) {
        if (name.size() <= logbook::kPartnersLength)
            text = name;
    } else if (text.size() + 2 + name.size() <= logbook::kPartnersLength) {
        text += ", ";
        text += name;
    } else if (text.size() + 1 + name.size() <= logbook::kPartnersLength) {
        text += ',';
        text += name;
    }
    return text;
}

void copyFromPreviousDive(const DiveRecord &previous, DiveRecord &record)
{
    record.place = previous.place;
    record.site = previous.site;
    record.weather = previous.weather;
    record.airTemperature = previous.airTemperature;
    record.suit = previous.suit;
    record.tankVolume = previous.tankVolume;
    record.diveType = previous.diveType;
    record.activities = previous.activities;
    record.otherActivities = previous.otherActivities;
    record.partners = previous.partners;
    record.extra.weights = previous.extra.weights;
    record.extra.visibility = previous.extra.visibility;
    record.extra.tankMaterial = previous.extra.tankMaterial;
    record.extra.extraFlags = previous.extra.extraFlags;
    record.extra.model = previous.extra.model;
}

DiveEditForm::DiveEditForm(
    logbook::Logbook &logbook, const computers::ComputerCatalogue &catalogue, DiveEditSwitches &switches)
    : m_logbook(logbook)
    , m_catalogue(catalogue)
    , m_switches(switches)
    , m_fields(logbook)
    , m_lists(logbook)
{
    show();
}

void DiveEditForm::setRecord(const DiveRecord &record, int position)
{
    m_working = record;
    m_reference = record;
    m_position = position;
    m_lists.fillSitesOfPlace(m_fields.fromRecord(Field::Place, record));
    show();
}

bool DiveEditForm::measuredLocked() const
{
    const bool fromComputer = m_working.computerType != 0 || m_working.profileLength != 0;
    return !m_switches.freeData && fromComputer && logbook::profileKind(m_working) != logbook::ProfileKind::HandDrawn;
}

ComputerList DiveEditForm::computerList() const
{
    return m_catalogue.isImport(m_working.computerType) ? ComputerList::Import : ComputerList::All;
}

ControlStates DiveEditForm::states() const
{
    ControlStates s;
    const bool advanced = m_logbook.mode() == logbook::Mode::Advanced;
    const bool locked = measuredLocked();
    s.previousDiveEnabled = m_position >= 2 && m_position - 1 <= m_logbook.diveCount();
    s.advancedShown = advanced;
    s.shortNameSwitchShown = !advanced;
    s.measuredEnabled = !locked;
    // The imports bring the air temperature of their dive; the serial computers do not measure it.
    s.airTemperatureEnabled = !(locked && m_catalogue.isImport(m_working.computerType));
    s.computerList = computerList();
    s.computerEnabled = !locked;
    s.addPartnerEnabled = !m_partnerChoice.empty();
    s.commentLength = commentInputLength(m_logbook.mode());
    return s;
}

std::vector<std::uint8_t> DiveEditForm::computerIds(ComputerList list) const
{
    // Nitrox and O2 computers belong in the list too: their dives carry their type like any other.
    std::vector<std::uint8_t> ids;
    for (const computers::ComputerType &entry : m_catalogue.entries())
        if (list == ComputerList::All || entry.imported)
            ids.push_back(entry.typeId);
    return ids;
}

std::vector<std::string> DiveEditForm::computerRows(ComputerList list) const
{
    std::vector<std::string> rows;
    // Type 0 keeps its stored name in Ctyp.ini; the list names it in the user's language.
    for (std::uint8_t id : computerIds(list))
        rows.push_back((id == 0 ? std::string(common::str(common::StringId::ManualDataComputer)) : m_catalogue.name(id))
            + common::cformat(" [%d]", id));
    return rows;
}

std::array<std::string, 8> DiveEditForm::secondSetLabels() const
{
    std::array<std::string, 8> labels;
    for (int i = 0; i < 8; ++i)
        labels[static_cast<std::size_t>(i)]
            = m_switches.shortNames ? logbook::names::secondActivityShort(i) : logbook::names::secondActivityLong(i);
    return labels;
}

std::vector<std::string> DiveEditForm::altitudeClassRows() const
{
    std::vector<std::string> rows;
    for (int i = 0; i < logbook::names::kAltitudeClassCount; ++i)
        rows.emplace_back(logbook::names::altitudeClass(i, m_logbook.unitSystem()));
    return rows;
}

void DiveEditForm::show()
{
    const DiveRecord &r = m_working;
    const logbook::FieldCatalogue &f = m_fields;
    DiveEditValues v;
    // A new dive is numbered where it will stand; show that number, not the blank record's 0.
    v.number = m_position == 0 ? common::cformat("%d", m_logbook.comingNumber(r)) : f.fromRecord(Field::DiveNumber, r);
    v.date = f.fromRecord(Field::Date, r, logbook::DateForm::Medium);
    v.time = f.fromRecord(Field::EntryTime, r);
    v.place = f.fromRecord(Field::Place, r);
    v.site = f.fromRecord(Field::Site, r);
    v.altitudeClass = listIndex(r.altitudeClass, logbook::names::kAltitudeClassCount);
    v.interval = f.fromRecord(Field::SurfaceInterval, r);
    v.weather = listIndex(r.weather, logbook::names::kWeatherCount);
    v.airTemperature = f.fromRecord(Field::AirTemperature, r);
    v.weights = f.fromRecord(Field::Weights, r);
    v.suit = listIndex(r.suit, logbook::names::kSuitCount);
    v.model = f.fromRecord(Field::Model, r);
    v.tankVolume = f.fromRecord(Field::TankVolume, r);
    v.tankPressure = f.fromRecord(Field::TankPressure, r);
    v.tankMaterial = listIndex(r.extra.tankMaterial, logbook::names::kTankMaterialCount);
    v.maxDepth = f.fromRecord(Field::MaxDepth, r);
    v.visibility = f.fromRecord(Field::Visibility, r);
    v.duration = f.fromRecord(Field::Duration, r);
    v.minWaterTemperature = f.fromRecord(Field::MinWaterTemperature, r);
    v.airUsed = f.fromRecord(Field::AirUsed, r);
    v.airConsumption = f.fromRecord(Field::AirConsumption, r);
    v.decompression = choiceOf(r.diveType, dive_type::kNoDeco, dive_type::kDeco);
    v.ascent = choiceOf(r.diveType, dive_type::kSingleAscent, dive_type::kMultipleAscents);
    v.water = choiceOf(r.diveType, dive_type::kFreshWater, dive_type::kSeaWater);
    v.nitrox = (r.diveType & dive_type::kNitrox) != 0;
    v.scr = (r.diveType & dive_type::kScr) != 0;
    for (std::size_t i = 0; i < v.activities.size(); ++i)
        v.activities[i] = (r.activities & (1u << i)) != 0;
    const std::uint8_t secondSet = logbook::secondActivities(r, m_logbook.mode());
    for (std::size_t i = 0; i < v.secondSet.size(); ++i)
        v.secondSet[i] = (secondSet & (1u << i)) != 0;
    v.result = f.fromRecord(Field::OtherActivities, r);
    if (m_logbook.mode() == logbook::Mode::Standard) {
        DiveRecord wordsOnly = r;
        logbook::setSecondActivities(wordsOnly, m_logbook.mode(), 0, false);
        v.otherActivities = f.fromRecord(Field::OtherActivities, wordsOnly);
    } else {
        v.otherActivities = v.result;
    }
    v.boatShore = choiceOf(r.extra.extraFlags, extra_flags::kBoat, extra_flags::kShore);
    v.leader = choiceOf(r.extra.extraFlags, extra_flags::kDiveLeader, extra_flags::kAccompanying);
    v.partnerChoice = m_partnerChoice;
    v.partners = f.fromRecord(Field::Partners, r);
    v.comment = f.fromRecord(Field::Comment, r);
    const std::vector<std::uint8_t> ids = computerIds(computerList());
    const auto found = std::find(ids.begin(), ids.end(), r.computerType);
    v.computer = found == ids.end() ? -1 : static_cast<int>(found - ids.begin());
    m_shown = std::move(v);
    m_display = m_shown;
}

void DiveEditForm::store(const DiveEditValues &c)
{
    const DiveEditValues &s = m_shown;
    DiveRecord &r = m_working;
    std::vector<std::pair<std::string DiveEditValues::*, std::string>> refused;
    auto text = [&](const std::string &typed, const std::string &was, Field field) {
        if (typed == was)
            return;
        if (!checkTypedValue(m_fields, field, typed).ok()) {
            for (const TypedField &t : kTypedFields)
                if (t.field == field)
                    refused.emplace_back(t.text, typed);
            return;
        }
        // Checked just above, so it is stored.
        (void)m_fields.toRecord(field, typed, r);
    };
    auto index = [](int typed, int was, auto &target) {
        if (typed != was && typed >= 0)
            target = static_cast<std::remove_reference_t<decltype(target)>>(typed);
    };

    if (!measuredLocked()) {
        text(c.number, s.number, Field::DiveNumber);
        text(c.date, s.date, Field::Date);
        text(c.time, s.time, Field::EntryTime);
        index(c.altitudeClass, s.altitudeClass, r.altitudeClass);
        text(c.interval, s.interval, Field::SurfaceInterval);
        text(c.maxDepth, s.maxDepth, Field::MaxDepth);
        text(c.duration, s.duration, Field::Duration);
        text(c.minWaterTemperature, s.minWaterTemperature, Field::MinWaterTemperature);
        text(c.airUsed, s.airUsed, Field::AirUsed);
        const std::vector<std::uint8_t> ids = computerIds(computerList());
        if (c.computer != s.computer && c.computer >= 0 && static_cast<std::size_t>(c.computer) < ids.size())
            r.computerType = ids[static_cast<std::size_t>(c.computer)];
    }
    text(c.place, s.place, Field::Place);
    text(c.site, s.site, Field::Site);
    index(c.weather, s.weather, r.weather);
    text(c.airTemperature, s.airTemperature, Field::AirTemperature);
    index(c.suit, s.suit, r.suit);
    text(c.tankVolume, s.tankVolume, Field::TankVolume);
    if (m_logbook.mode() == logbook::Mode::Advanced) {
        text(c.weights, s.weights, Field::Weights);
        text(c.model, s.model, Field::Model);
        text(c.tankPressure, s.tankPressure, Field::TankPressure);
        index(c.tankMaterial, s.tankMaterial, r.extra.tankMaterial);
        text(c.visibility, s.visibility, Field::Visibility);
        if (c.boatShore != s.boatShore)
            setChoice(r.extra.extraFlags, c.boatShore, extra_flags::kBoat, extra_flags::kShore);
        if (c.leader != s.leader)
            setChoice(r.extra.extraFlags, c.leader, extra_flags::kDiveLeader, extra_flags::kAccompanying);
    }

    if (c.decompression != s.decompression)
        setChoice(r.diveType, c.decompression, dive_type::kNoDeco, dive_type::kDeco);
    if (c.ascent != s.ascent)
        setChoice(r.diveType, c.ascent, dive_type::kSingleAscent, dive_type::kMultipleAscents);
    if (c.water != s.water)
        setChoice(r.diveType, c.water, dive_type::kFreshWater, dive_type::kSeaWater);
    if (c.nitrox != s.nitrox)
        setBit(r.diveType, dive_type::kNitrox, c.nitrox);
    if (c.scr != s.scr)
        setBit(r.diveType, dive_type::kScr, c.scr);
    for (std::size_t i = 0; i < c.activities.size(); ++i)
        if (c.activities[i] != s.activities[i])
            setBit(r.activities, static_cast<std::uint16_t>(1u << i), c.activities[i]);

    // In standard mode the text holds the second set's names after the user's
    // words, so both are written again together when either changed.
    const bool wordsChanged = c.otherActivities != s.otherActivities;
    const bool setChanged = c.secondSet != s.secondSet;
    if (m_logbook.mode() == logbook::Mode::Standard) {
        if (wordsChanged || setChanged) {
            (void)m_fields.toRecord(Field::OtherActivities, c.otherActivities, r);
            logbook::setSecondActivities(r, m_logbook.mode(), bitsOf(c.secondSet), m_switches.shortNames);
        }
    } else {
        if (wordsChanged)
            (void)m_fields.toRecord(Field::OtherActivities, c.otherActivities, r);
        if (setChanged)
            logbook::setSecondActivities(r, m_logbook.mode(), bitsOf(c.secondSet), m_switches.shortNames);
    }

    text(c.partners, s.partners, Field::Partners);
    text(c.comment, s.comment, Field::Comment);
    m_partnerChoice = c.partnerChoice;
    show();
    for (const auto &[member, typed] : refused)
        m_display.*member = typed;
}

common::Result DiveEditForm::check(const DiveEditValues &controls) const
{
    const bool locked = measuredLocked();
    const bool advanced = m_logbook.mode() == logbook::Mode::Advanced;
    for (const TypedField &t : kTypedFields) {
        if ((t.measured && locked) || (t.advanced && !advanced) || controls.*t.text == m_shown.*t.text)
            continue;
        common::Result result = checkTypedValue(m_fields, t.field, controls.*t.text);
        if (!result)
            return result;
    }
    return common::Result::success();
}

void DiveEditForm::placeLeft(const DiveEditValues &controls)
{
    store(controls);
    m_lists.fillSitesOfPlace(m_fields.fromRecord(Field::Place, m_working));
    show();
}

void DiveEditForm::secondSetChanged(const DiveEditValues &controls)
{
    store(controls);
    show();
}

void DiveEditForm::setShortNames(const DiveEditValues &controls, bool on)
{
    store(controls);
    if (m_switches.shortNames != on) {
        m_switches.shortNames = on;
        // Rewriting with no names chosen would only reformat the user's words.
        const std::uint8_t set = logbook::secondActivities(m_working, m_logbook.mode());
        if (m_logbook.mode() == logbook::Mode::Standard && set != 0)
            logbook::setSecondActivities(m_working, m_logbook.mode(), set, on);
    }
    show();
}

void DiveEditForm::setFreeData(const DiveEditValues &controls, bool on)
{
    store(controls);
    m_switches.freeData = on;
    show();
}

void DiveEditForm::addPartner(const DiveEditValues &controls)
{
    store(controls);
    const std::string name = logbook::displayToStored(m_partnerChoice);
    logbook::setFixedText(m_working.partners, appendPartner(logbook::fixedText(m_working.partners), name));
    show();
}

void DiveEditForm::airFieldsLeft(const DiveEditValues &controls)
{
    store(controls);
    computeConsumptionOfChangedDive();
    show();
}

void DiveEditForm::computeConsumptionOfChangedDive()
{
    // A consumption computed by an older version, or from a profile the user
    // cannot change here, must not turn an untouched dive into a changed one.
    if (m_position == 0 || !(m_working == m_reference))
        logbook::Logbook::computeAirConsumption(m_working);
}

bool DiveEditForm::usePreviousDive(const DiveEditValues &controls)
{
    const logbook::DiveRecord *previous = m_position >= 2 ? m_logbook.dive(m_position - 1) : nullptr;
    if (!previous)
        return false;
    store(controls);
    copyFromPreviousDive(*previous, m_working);
    show();
    return true;
}

common::Result DiveEditForm::accept(const DiveEditValues &controls)
{
    common::Result result = check(controls);
    if (!result)
        return result;
    store(controls);
    computeConsumptionOfChangedDive();
    show();
    return result;
}

std::optional<DiveRecord> DiveEditForm::changedRecord() const
{
    if (m_position == 0 || !(m_working == m_reference))
        return m_working;
    return std::nullopt;
}

} // namespace zorv::tools
