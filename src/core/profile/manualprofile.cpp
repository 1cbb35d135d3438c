#include "profile/manualprofile.h"

#include "logbook/units.h"
#include "profile/depthaxisscale.h"

#include <algorithm>
#include <cmath>

namespace zorv::profile {

using logbook::DiveRecord;
using logbook::kMaxSamples;
using logbook::kMissing;

namespace {

    constexpr double kStartDepth = 1.3;
    constexpr double kStepPerPoint = 3.33; // 10 m a minute
    constexpr std::uint8_t kStartWorkload = 3;
    constexpr std::uint8_t kDrawnWorkload = 6;

    double maxDepthMetres(const DiveRecord &dive)
    {
        if (dive.maxDepth == kMissing || dive.maxDepth < 0)
            return std::max(0.0, static_cast<double>(dive.profileMaxDepth));
        return dive.maxDepth * 0.01;
    }

    enum class Phase {
        Descending,
        Bottom,
        Ascending,
    };

} // namespace

int manualProfileMinutes(const DiveRecord &dive)
{
    if (dive.duration == kMissing)
        return 0;
    return std::clamp<int>(dive.duration, 0, kManualProfileMaxMinutes);
}

bool manualProfileLimited(const DiveRecord &dive)
{
    return dive.duration != kMissing && dive.duration > kManualProfileMaxMinutes;
}

void generateManualProfile(DiveRecord &dive)
{
    const double bottom = maxDepthMetres(dive);
    const int n = (manualProfileMinutes(dive) + 1) * 3;
    std::array<float, kMaxSamples> work {};
    double running = kStartDepth;
    Phase phase = Phase::Descending;
    int end = n - 1;
    for (int i = 0; i < n; ++i) {
        // Every point of the descent moves the start of the ascent one point earlier, so the ascent takes as long.
        if (i < end) {
            if (phase == Phase::Descending) {
                running += kStepPerPoint;
                --end;
            } else if (phase == Phase::Ascending) {
                running -= kStepPerPoint;
            }
        }
        if (i >= end) {
            running -= kStepPerPoint;
            phase = Phase::Ascending;
        }
        double stored = running;
        if (phase == Phase::Descending && stored >= bottom) {
            stored = running = bottom;
            phase = Phase::Bottom;
        }
        if (phase == Phase::Ascending && stored <= 0) {
            work[static_cast<std::size_t>(i)] = 0.0f;
            break;
        }
        work[static_cast<std::size_t>(i)] = static_cast<float>(stored);
    }

    dive.sampleCount = static_cast<std::uint16_t>(n);
    dive.samples[0] = logbook::ProfileSample { static_cast<float>(-kStartDepth), { 0, 0, kStartWorkload, 0 } };
    for (int i = 1; i < kMaxSamples; ++i)
        dive.samples[static_cast<std::size_t>(i)]
            = logbook::ProfileSample { -work[static_cast<std::size_t>(i - 1)], { 0, 0, kDrawnWorkload, 0 } };
    dive.profileMaxDepth = static_cast<float>(bottom);
    updateManualAverages(dive);
    dive.avgDepth = 0.0f;
}

void updateManualAverages(DiveRecord &dive)
{
    const int count = std::min<int>(dive.sampleCount, kMaxSamples);
    if (count == 0)
        return;
    float sum = 0.0f;
    for (int i = 0; i < count; ++i)
        sum += dive.samples[static_cast<std::size_t>(i)].depth;
    const double average = std::trunc(static_cast<double>(sum) / count);
    dive.profileAvgDepth = static_cast<float>(-average);
    const double minutes = count * static_cast<double>(0.33333334f) - 0.33;
    if (dive.tankVolume != kMissing && dive.airUsed != kMissing && minutes != 0) {
        const double litres = dive.tankVolume * 0.01 * dive.airUsed * 0.01;
        dive.airConsumption = static_cast<float>(litres / (-average * 0.1 + 1) / minutes);
    }
}

ManualAxis manualAxis(const DiveRecord &dive, logbook::UnitSystem units)
{
    double deepest = dive.profileMaxDepth;
    if (units == logbook::UnitSystem::Imperial)
        deepest = logbook::metresToFeet(deepest);
    const int whole = std::isfinite(deepest) ? static_cast<int>(std::clamp(deepest, 0.0, 100000.0)) : 0;
    const int step = depthAxisScale(whole, units).step;
    return { whole + step, step };
}

bool drawManualSample(
    DiveRecord &dive, int cursor, int localY, int plotHeight, const ManualAxis &axis, logbook::UnitSystem units)
{
    if (axis.maximum <= 0 || cursor < 0 || cursor >= kMaxSamples)
        return false;
    const double perUnit = static_cast<double>(plotHeight) / axis.maximum;
    if (perUnit == 0)
        return false;
    const bool imperial = units == logbook::UnitSystem::Imperial;
    double limit = maxDepthMetres(dive);
    if (imperial)
        limit = logbook::metresToFeet(limit);
    double depth = std::clamp(localY / perUnit, 0.0, limit);
    if (imperial)
        depth = logbook::feetToMetres(depth);
    dive.samples[static_cast<std::size_t>(cursor)].depth = static_cast<float>(-depth);
    updateManualAverages(dive);
    dive.avgDepth = 0.0f;
    return true;
}

DepthCode manualDepthCode(double metres)
{
    const int v = std::isfinite(metres) ? static_cast<int>(std::clamp(metres * 6.4, 0.0, 1023.0)) : 0;
    // Every code of a drawn block carries 0x20, the mark a computer never sets there.
    std::uint8_t low = 0x20;
    if (v & 1)
        low |= 0x40;
    if (v & 2)
        low |= 0x80;
    return { static_cast<std::uint8_t>((v >> 2) & 0xFF), low };
}

void storeManualProfile(DiveRecord &dive)
{
    // Samples 1 ... are the points of the drawing; sample 0 is the fixed start at 1.3 m.
    std::array<float, kMaxSamples> work {};
    for (int i = 1; i < kMaxSamples; ++i)
        work[static_cast<std::size_t>(i - 1)] = -dive.samples[static_cast<std::size_t>(i)].depth;

    const int minutes = manualProfileMinutes(dive);
    dive.profileFirstByte = 0;
    for (std::size_t i = 0; i < dive.profileHeader.size(); ++i)
        dive.profileHeader[i] = static_cast<std::uint16_t>(logbook::kHandProfileHeaderBase + i);
    dive.profileBytes.fill(0);
    dive.profileBytes[3] = 0x40;
    dive.profileBytes[4] = 0x90;
    std::size_t at = 5;
    // One group more than the length below counts: readers that follow the length never reach it.
    for (int group = 0; group <= minutes + 2 && at + 7 <= dive.profileBytes.size(); ++group) {
        for (int k = 0; k < 3; ++k) {
            const int point = 3 * group + k;
            const DepthCode code = manualDepthCode(point < kMaxSamples ? work[static_cast<std::size_t>(point)] : 0.0);
            dive.profileBytes[at++] = code.high;
            dive.profileBytes[at++] = code.low;
        }
        dive.profileBytes[at++] = 0x20;
    }
    dive.profileLength = static_cast<std::uint16_t>(7 * (minutes + 2) + 17);
    if (dive.altitudeClass == 0)
        dive.altitudeClass = 1;
}

void eraseManualProfile(DiveRecord &dive)
{
    dive.profileLength = 0;
    dive.samples.fill(logbook::ProfileSample {});
    dive.sampleCount = 0;
}

} // namespace zorv::profile
