#include "tools/divetools.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "common/translation.h"
#include "logbook/daynumber.h"
#include "logbook/profiledecoder.h"
#include "logbook/units.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zorv::tools {

using common::StringId;

using logbook::DiveRecord;
using logbook::kMissing;
using logbook::Logbook;

namespace {

    constexpr int kMaxDives = Logbook::kMaxDives;
    constexpr int kMinutesPerDay = 24 * 60;
    constexpr int kMergeIntervalLimit = 120;
    constexpr int kMergeProfileLimit = 1600;
    constexpr int kGroupSize = 7;
    constexpr int kSampleStart = 5;
    // What the profile block holds besides the sample groups, in profileLength.
    constexpr int kProfileOverhead = 22;
    constexpr float kSurfaceBand = 1.3f; // metres
    // The pause a split puts between the two parts, in minutes.
    constexpr int kSplitPause = 5;

    std::string format(StringId id, int a)
    {
        return common::cformat(std::string(common::str(id)).c_str(), a);
    }

    std::string format(StringId id, int a, int b)
    {
        return common::cformat(std::string(common::str(id)).c_str(), a, b);
    }

    common::Result refused(std::string message)
    {
        return common::Result::failure(common::Status::Refused, std::move(message));
    }

    bool isO2(const Logbook &logbook, const DiveRecord &dive)
    {
        return logbook.computerInfo() && logbook.computerInfo()->isO2(dive.computerType);
    }

    // The last position carrying the number, or 0.
    int lastPositionOf(const Logbook &logbook, int number)
    {
        for (int p = logbook.diveCount(); p >= 1; --p)
            if (logbook.diveNumberAt(p) == number)
                return p;
        return 0;
    }

    void shiftDateTime(DiveRecord &dive, int minutes)
    {
        const long long total
            = static_cast<long long>(dive.date) * kMinutesPerDay + dive.entryTime + static_cast<long long>(minutes);
        const long long day = total >= 0 ? total / kMinutesPerDay : (total - kMinutesPerDay + 1) / kMinutesPerDay;
        dive.date = static_cast<std::uint32_t>(std::max(0LL, day));
        dive.entryTime = static_cast<std::int16_t>(total - day * kMinutesPerDay);
    }

    // Adds minutes to a dive's entry time, carrying past midnight into the date.
    void addToEntryTime(DiveRecord &dive, int minutes)
    {
        if (dive.entryTime == kMissing)
            return;
        if (logbook::isShownAsDate(dive.date)) {
            shiftDateTime(dive, minutes);
            return;
        }
        dive.entryTime = static_cast<std::int16_t>((dive.entryTime + minutes) % kMinutesPerDay);
    }

    std::int16_t depthHundredths(float metres)
    {
        return static_cast<std::int16_t>(std::clamp(std::trunc(metres * 100.0f), 0.0f, 32766.0f));
    }

} // namespace

ToolResult renumberAll(Logbook &logbook, int firstNumber)
{
    ToolChange change;
    if (logbook.diveCount() == 0)
        return change;
    if (firstNumber < 1 || firstNumber + logbook.diveCount() - 1 > kMaxDives)
        return refused(std::string(common::str(StringId::DiveNumberOutOfRange)));
    int next = firstNumber;
    change.positions = logbook.editDives(1, logbook.diveCount(), [&next](int, DiveRecord &dive) {
        const auto number = static_cast<std::int16_t>(next++);
        if (dive.diveNumber == number)
            return false;
        dive.diveNumber = number;
        return true;
    });
    change.changed = static_cast<int>(change.positions.size());
    return change;
}

std::string renumberAllQuestion(int firstNumber)
{
    return format(StringId::AskRenumber, firstNumber);
}

ToolResult renumberRange(Logbook &logbook, int firstNumber, int lastNumber, int newStart)
{
    ToolChange change;
    const int n = logbook.diveCount();
    if (n == 0)
        return change;
    if (firstNumber < logbook.diveNumberAt(1) || lastNumber > logbook.diveNumberAt(n))
        return refused(std::string(common::str(StringId::DiveNumberOutOfRange)));
    int inRange = 0;
    for (const DiveRecord &d : logbook.dives())
        inRange += d.diveNumber >= firstNumber && d.diveNumber <= lastNumber ? 1 : 0;
    // A number past the file's limit would wrap to a negative one.
    if (newStart < 1 || newStart + inRange - 1 > kMaxDives)
        return refused(std::string(common::str(StringId::DiveNumberOutOfRange)));
    int next = newStart;
    change.positions = logbook.editDives(1, n, [&](int, DiveRecord &dive) {
        if (dive.diveNumber < firstNumber || dive.diveNumber > lastNumber)
            return false;
        const auto number = static_cast<std::int16_t>(next++);
        if (dive.diveNumber == number)
            return false;
        dive.diveNumber = number;
        return true;
    });
    change.changed = static_cast<int>(change.positions.size());
    return change;
}

std::optional<std::string> renumberRangeQuestion(const Logbook &logbook, int firstNumber, int lastNumber, int newStart)
{
    // A range the tool refuses needs no question first.
    const int n = logbook.diveCount();
    if (n == 0 || firstNumber < logbook.diveNumberAt(1) || lastNumber > logbook.diveNumberAt(n))
        return std::nullopt;
    const auto inRange = [&](int number) { return number >= firstNumber && number <= lastNumber; };
    const auto count = std::count_if(
        logbook.dives().begin(), logbook.dives().end(), [&](const DiveRecord &d) { return inRange(d.diveNumber); });
    if (count == 0)
        return std::nullopt;
    const long long newLast = newStart + count - 1;
    int repeated = 0;
    int firstRepeated = 0;
    for (const DiveRecord &d : logbook.dives()) {
        if (inRange(d.diveNumber) || d.diveNumber < newStart || d.diveNumber > newLast)
            continue;
        if (repeated++ == 0 || d.diveNumber < firstRepeated)
            firstRepeated = d.diveNumber;
    }
    if (repeated == 0)
        return std::nullopt;
    return common::cformat(common::tr("Numéroter les plongées #%d à #%d à partir de #%d ?\n"
                                      "Des numéros se répéteront : %d plongée(s) hors de ces limites gardent un "
                                      "numéro de la nouvelle suite (dès #%d)."),
        firstNumber, lastNumber, newStart, repeated, firstRepeated);
}

std::optional<int> parseTimeDifference(std::string_view text)
{
    const std::string s(text);
    int hours = 0;
    int minutes = 0;
    char end = 0;
    if (common::cscan(s, " %d:%d %c", &hours, &minutes, &end) == 2 && hours >= 0 && minutes >= 0)
        return hours * 60 + minutes;
    if (common::cscan(s, " %d %c", &minutes, &end) == 1 && minutes >= 0)
        return minutes;
    return std::nullopt;
}

std::string timeShiftQuestion(int fromNumber, int toNumber, int minutes)
{
    const std::string sign = minutes < 0 ? "-" : "+";
    const std::string clock = logbook::formatClock(std::abs(minutes));
    return common::cformat(std::string(common::str(StringId::AskTimeZoneCorrection)).c_str(), fromNumber, toNumber,
        sign.c_str(), clock.c_str());
}

common::Result checkTimeShift(const Logbook &logbook, int fromNumber, int toNumber)
{
    const int n = logbook.diveCount();
    if (n == 0 || fromNumber > toNumber || toNumber > logbook.diveNumberAt(n))
        return refused(std::string(common::str(StringId::WrongData)));
    return common::Result::success();
}

ToolResult shiftTimeZone(Logbook &logbook, int fromNumber, int toNumber, int minutes)
{
    ToolChange change;
    if (minutes == 0 || logbook.diveCount() == 0)
        return change;
    if (const common::Result checked = checkTimeShift(logbook, fromNumber, toNumber); !checked)
        return checked;
    const int first = lastPositionOf(logbook, fromNumber);
    const int last = lastPositionOf(logbook, toNumber);
    if (first == 0 || last == 0)
        return change;
    change.positions = logbook.editDives(first, last, [minutes](int, DiveRecord &dive) {
        if (!logbook::isShownAsDate(dive.date) || dive.entryTime == kMissing)
            return false;
        shiftDateTime(dive, minutes);
        return true;
    });
    change.changed = static_cast<int>(change.positions.size());
    return change;
}

ToolResult mergeWithNext(Logbook &logbook, int position)
{
    const DiveRecord *first = logbook.dive(position);
    if (!first)
        return refused(format(StringId::MergeRefused, 0, 0));
    const DiveRecord *second = logbook.dive(position + 1);
    const int secondNumber = second ? second->diveNumber : 0;
    const std::string refusal = format(StringId::MergeRefused, first->diveNumber, secondNumber);
    if (!second || second->profileLength == 0 || second->surfaceInterval > kMergeIntervalLimit
        || first->maxDepth == kMissing || second->maxDepth == kMissing || first->duration == kMissing
        || second->duration == kMissing || first->profileLength + second->profileLength > kMergeProfileLimit
        || first->computerType != second->computerType)
        return refused(refusal);
    // O2 computers write 8-byte groups; a splice on 7-byte groups would shift
    // every later sample of the merged dive out of place.
    if (isO2(logbook, *first))
        return refused(refusal + common::tr("\n(profil d'ordinateur O2)"));

    DiveRecord a = *first;
    const DiveRecord &b = *second;
    a.maxDepth = std::max(a.maxDepth, b.maxDepth);
    a.duration = static_cast<std::int16_t>(std::min(a.duration + b.duration, 32766));
    a.minWaterTemperature = std::min(a.minWaterTemperature, b.minWaterTemperature);
    if (a.airUsed != kMissing && b.airUsed != kMissing)
        a.airUsed = static_cast<std::int16_t>(std::min(a.airUsed + b.airUsed, 32766));

    // The second profile follows after one group that climbs back to the surface band,
    // so that the two parts stay on whole groups.
    int k = static_cast<int>(a.profileLength) - kProfileOverhead;
    for (int i = 0; i < kGroupSize && k % kGroupSize != 0; ++i)
        ++k;
    k += kGroupSize;
    const int gapStart = kSampleStart + std::max(0, static_cast<int>(a.profileLength) - kProfileOverhead);
    for (int i = std::max(0, gapStart); i < kSampleStart + k && i < logbook::kProfileBytesCapacity; ++i)
        logbook::setProfileByte(a, static_cast<std::size_t>(i), 0);
    const int copied = static_cast<int>(b.profileLength) - kProfileOverhead;
    for (int i = 0; i < copied; ++i) {
        const int to = kSampleStart + k + i;
        const int from = kSampleStart + i;
        if (to >= logbook::kProfileBytesCapacity || from >= logbook::kProfileBytesCapacity)
            break;
        logbook::setProfileByte(
            a, static_cast<std::size_t>(to), logbook::profileByte(b, static_cast<std::size_t>(from)));
    }
    const int surface = static_cast<int>(std::trunc(kSurfaceBand * 6.4f));
    logbook::setProfileByte(a, static_cast<std::size_t>(k + 2), static_cast<std::uint8_t>(surface >> 2));
    logbook::setProfileByte(a, static_cast<std::size_t>(k + 3),
        static_cast<std::uint8_t>(((surface & 1) ? 0x40 : 0) | ((surface & 2) ? 0x80 : 0)));
    logbook::trimProfileBytes(a);
    a.warnings = static_cast<std::uint16_t>(a.warnings | b.warnings);
    a.profileLength = static_cast<std::uint16_t>(a.profileLength + b.profileLength - 10);
    logbook::decodeProfile(a, false);

    ToolChange change;
    change.message = format(StringId::MergeDone, first->diveNumber, secondNumber);
    logbook.putDive(a, position);
    logbook.deleteDive(position + 1);
    change.changed = 1;
    change.positions = { position };
    change.removed = position + 1;
    return change;
}

ToolResult splitDive(Logbook &logbook, int position, int minute)
{
    const DiveRecord *found = logbook.dive(position);
    if (!found)
        return refused(format(StringId::SplitRefused, 0));
    const DiveRecord &a = *found;
    const std::string refusal = format(StringId::SplitRefused, a.diveNumber);
    const int cut = 3 * minute;
    if (minute <= 0 || cut >= a.sampleCount || a.profileLength == 0)
        return refused(refusal);
    // Cutting where the diver is still below the surface band would make two dives of one.
    const std::span<const logbook::ProfileSample> samples = logbook::profileSamples(a);
    if (static_cast<std::size_t>(cut) >= samples.size()
        || std::abs(samples[static_cast<std::size_t>(cut)].depth) > kSurfaceBand)
        return refused(refusal + common::tr("\n(plongeur sous la surface)"));
    // Nothing below the surface after the cut would make a second dive of 00:00 and 0.0 m.
    const auto later = samples.subspan(static_cast<std::size_t>(cut) + 1);
    if (std::none_of(later.begin(), later.end(),
            [](const logbook::ProfileSample &s) { return std::abs(s.depth) > kSurfaceBand; }))
        return refused(refusal + common::tr("\n(aucune mesure sous l'eau après ce point)"));
    if (isO2(logbook, a))
        return refused(refusal + common::tr("\n(profil d'ordinateur O2)"));
    // The second part needs a place of its own.
    if (logbook.diveCount() >= kMaxDives)
        return refused(refusal + "\n" + std::string(common::str(StringId::SplitLogbookFull)));

    DiveRecord first = a;
    DiveRecord second = a;

    if (a.airConsumption != 0.0f && a.tankVolume != kMissing && a.tankVolume > 0 && a.airUsed != kMissing) {
        const double start = a.tankVolume * 0.01 * 200.0;
        double gas = start;
        for (int i = 0; i <= cut; ++i) {
            const logbook::ProfileSample &s = samples[static_cast<std::size_t>(i)];
            const int workload = s.markers[2];
            const double rate = workload == 0 ? 0.0 : a.airConsumption * (0.8 + workload / 30.0);
            gas -= rate * (std::abs(s.depth) * 0.1 + 1.0) / 3.0;
        }
        gas = std::max(gas, 0.0);
        const int used = 200 - static_cast<int>(std::trunc(gas * 200.0 / start));
        first.airUsed = static_cast<std::int16_t>(used * 100);
        second.airUsed = static_cast<std::int16_t>(std::max(a.airUsed - used * 100, 0));
    } else {
        first.airUsed = kMissing;
        second.airUsed = kMissing;
    }

    float firstMax = 0.0f;
    float secondMax = 0.0f;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const float d = std::abs(samples[i].depth);
        float &target = static_cast<int>(i) / 3 <= minute ? firstMax : secondMax;
        target = std::max(target, d);
    }

    addToEntryTime(second, minute + kSplitPause);
    second.surfaceInterval = kSplitPause;
    if (a.duration != kMissing)
        second.duration = static_cast<std::int16_t>(std::max(a.duration - minute, 0));
    second.maxDepth = depthHundredths(secondMax);

    // The second part starts at the first group after the cut that is below the surface.
    second.profileBytes.clear();
    const int begin = kGroupSize * minute + kSampleStart;
    const int end = static_cast<int>(a.profileLength) - kProfileOverhead - 1;
    int copied = 0;
    bool copying = false;
    for (int i = begin; i <= end && i < logbook::kProfileBytesCapacity; ++i) {
        const std::uint8_t byte = logbook::profileByte(a, static_cast<std::size_t>(i));
        if (!copying && byte != 0 && (i - begin) % kGroupSize == 0)
            copying = true;
        if (copying && kSampleStart + copied < logbook::kProfileBytesCapacity)
            logbook::setProfileByte(second, static_cast<std::size_t>(kSampleStart + copied++), byte);
    }
    for (int i = 0; i < kSampleStart; ++i)
        logbook::setProfileByte(
            second, static_cast<std::size_t>(i), logbook::profileByte(a, static_cast<std::size_t>(i)));
    if (copied == 0)
        return refused(refusal + common::tr("\n(aucune mesure sous l'eau après ce point)"));
    logbook::trimProfileBytes(second);
    second.profileLength = static_cast<std::uint16_t>(copied + kProfileOverhead);

    first.duration = static_cast<std::int16_t>(minute);
    first.maxDepth = depthHundredths(firstMax);
    first.profileLength = static_cast<std::uint16_t>(kGroupSize * minute + kProfileOverhead);
    first.profileBytes.resize(
        std::min(first.profileBytes.size(), static_cast<std::size_t>(kGroupSize * minute + kSampleStart)));
    logbook::trimProfileBytes(first);

    logbook::decodeProfile(first, false);
    logbook::decodeProfile(second, false);

    ToolChange change;
    change.message = format(StringId::SplitDone, a.diveNumber);
    logbook.putDive(first, position);
    if (!logbook.insertDive(second))
        return refused(refusal); // cannot happen: the count was checked above
    change.inserted = logbook.currentDive();
    change.changed = 1;
    change.positions = { position < change.inserted ? position : position + 1 };
    return change;
}

} // namespace zorv::tools
