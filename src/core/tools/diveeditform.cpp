#include "tools/diveeditform.h"

#include "logbook/names.h"
#include "logbook/oemcharmap.h"

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

} // namespace

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
    logbook::Logbook &logbook, const transfer::ComputerCatalogue &catalogue, DiveEditSwitches &switches)
    : m_logbook(logbook)
    , m_catalogue(catalogue)
    , m_switches(switches)
    , m_fields(logbook)
{
    show();
}

void DiveEditForm::setRecord(const DiveRecord &record, int position)
{
    m_working = record;
    m_reference = record;
    m_position = position;
    m_logbook.fillSitesOfPlace(m_fields.fromRecord(Field::Place, record));
    show();
}

bool DiveEditForm::measuredLocked() const
{
    const bool fromComputer = m_working.computerType != 0 || m_working.profileLength != 0;
    return !m_switches.freeData && fromComputer && logbook::profileKind(m_working) != logbook::ProfileKind::HandDrawn;
}

ComputerList DiveEditForm::computerList() const
{
    return m_catalogue.isImport(m_working.computerType) ? ComputerList::Import : ComputerList::Air;
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

std::vector<std::string> DiveEditForm::computerRows() const
{
    return computerList() == ComputerList::Import ? m_catalogue.importPickList() : m_catalogue.airPickList();
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
    v.number = f.fromRecord(Field::DiveNumber, r);
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
    const std::uint8_t secondSet = m_logbook.secondActivities(r);
    for (std::size_t i = 0; i < v.secondSet.size(); ++i)
        v.secondSet[i] = (secondSet & (1u << i)) != 0;
    v.result = f.fromRecord(Field::OtherActivities, r);
    if (m_logbook.mode() == logbook::Mode::Standard) {
        DiveRecord wordsOnly = r;
        m_logbook.setSecondActivities(wordsOnly, 0, false);
        v.otherActivities = f.fromRecord(Field::OtherActivities, wordsOnly);
    } else {
        v.otherActivities = v.result;
    }
    v.boatShore = choiceOf(r.extra.extraFlags, extra_flags::kBoat, extra_flags::kShore);
    v.leader = choiceOf(r.extra.extraFlags, extra_flags::kDiveLeader, extra_flags::kAccompanying);
    v.partnerChoice = m_partnerChoice;
    v.partners = f.fromRecord(Field::Partners, r);
    v.comment = f.fromRecord(Field::Comment, r);
    v.computer = computerList() == ComputerList::Import ? m_catalogue.importOrdinal(r.computerType)
                                                        : m_catalogue.airOrdinal(r.computerType);
    m_shown = std::move(v);
}

void DiveEditForm::store(const DiveEditValues &c)
{
    const DiveEditValues &s = m_shown;
    DiveRecord &r = m_working;
    auto text = [&](const std::string &typed, const std::string &was, Field field) {
        if (typed != was)
            m_fields.toRecord(field, typed, r);
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
        if (c.computer != s.computer && c.computer >= 0)
            r.computerType = computerList() == ComputerList::Import ? m_catalogue.typeIdOfImportOrdinal(c.computer)
                                                                    : m_catalogue.typeIdOfAirOrdinal(c.computer);
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
            m_fields.toRecord(Field::OtherActivities, c.otherActivities, r);
            m_logbook.setSecondActivities(r, bitsOf(c.secondSet), m_switches.shortNames);
        }
    } else {
        if (wordsChanged)
            m_fields.toRecord(Field::OtherActivities, c.otherActivities, r);
        if (setChanged)
            m_logbook.setSecondActivities(r, bitsOf(c.secondSet), m_switches.shortNames);
    }

    text(c.partners, s.partners, Field::Partners);
    text(c.comment, s.comment, Field::Comment);
    m_partnerChoice = c.partnerChoice;
    show();
}

void DiveEditForm::placeLeft(const DiveEditValues &controls)
{
    store(controls);
    m_logbook.fillSitesOfPlace(m_fields.fromRecord(Field::Place, m_working));
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
        const std::uint8_t set = m_logbook.secondActivities(m_working);
        if (m_logbook.mode() == logbook::Mode::Standard && set != 0)
            m_logbook.setSecondActivities(m_working, set, on);
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

void DiveEditForm::accept(const DiveEditValues &controls)
{
    store(controls);
    computeConsumptionOfChangedDive();
    show();
}

std::optional<DiveRecord> DiveEditForm::changedRecord() const
{
    if (m_position == 0 || !(m_working == m_reference))
        return m_working;
    return std::nullopt;
}

} // namespace zorv::tools
