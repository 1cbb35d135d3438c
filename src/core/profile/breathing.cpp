#include "profile/breathing.h"

#include <algorithm>
#include <cmath>

namespace zorv::profile {

int workloadLevel(const logbook::ProfileSample &sample, const ComputerTraits &traits)
{
    return traits.fixedWorkload ? kFixedWorkload : sample.markers[2];
}

double breathingRate(float airConsumption, int workload)
{
    if (workload == 0)
        return 0.0;
    return static_cast<double>(airConsumption) * (0.8 + workload / 30.0);
}

int clampCursor(const logbook::DiveRecord &dive, int cursor)
{
    const int last = std::min<int>(dive.sampleCount, logbook::kMaxSamples);
    return std::clamp(cursor, 0, last);
}

logbook::ProfileSample sampleAtCursor(const logbook::DiveRecord &dive, int cursor)
{
    const int at = clampCursor(dive, cursor);
    const std::span<const logbook::ProfileSample> samples = logbook::profileSamples(dive);
    if (static_cast<std::size_t>(at) >= samples.size())
        return {};
    return samples[static_cast<std::size_t>(at)];
}

double remainingPressure(const logbook::DiveRecord &dive, int cursor, const ComputerTraits &traits)
{
    // A tank of no volume would divide by zero below; it says as little as a missing one.
    if (dive.tankVolume == logbook::kMissing || dive.tankVolume <= 0)
        return -1.0;
    const std::int16_t stored = dive.extra.tankPressure;
    const int startBar = stored != logbook::kMissing && stored > 0 ? stored / 100 : 200;
    const double gas = dive.tankVolume * 0.01 * startBar;
    double remaining = gas;
    const bool scr = (dive.diveType & logbook::dive_type::kScr) != 0;
    const int last = clampCursor(dive, cursor);
    for (int i = 0; i <= last; ++i) {
        const logbook::ProfileSample sample = sampleAtCursor(dive, i);
        // A semi-closed rebreather's loop does not grow with depth.
        const double ambient = scr ? 1.0 : std::fabs(static_cast<double>(sample.depth)) * 0.1 + 1.0;
        remaining -= breathingRate(dive.airConsumption, workloadLevel(sample, traits)) * ambient / 3.0;
    }
    if (!(remaining > 0))
        remaining = 0;
    return remaining * startBar / gas;
}

} // namespace zorv::profile
