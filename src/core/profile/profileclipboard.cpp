#include "profile/profileclipboard.h"

#include <algorithm>
#include <cmath>

namespace zorv::profile {

void ProfileClipboard::copyDive(const logbook::DiveRecord &dive)
{
    const std::span<const logbook::ProfileSample> samples = logbook::profileSamples(dive);
    if (samples.empty())
        return;
    for (std::size_t at = 0; at < samples.size(); ++at) {
        m_depths[at] = samples[at].depth;
        m_markers[at] = samples[at].markers[0];
    }
    m_depths[samples.size()] = 0.0;
    m_markers[samples.size()] = 0;
    m_count = static_cast<int>(samples.size()) + 1;
}

void ProfileClipboard::setProfile(std::span<const double> depths, std::span<const std::uint8_t> markers)
{
    const std::size_t n = std::min<std::size_t>(depths.size(), kCapacity);
    for (std::size_t i = 0; i < n; ++i) {
        m_depths[i] = depths[i];
        m_markers[i] = i < markers.size() ? markers[i] : 0;
    }
    m_count = static_cast<int>(n);
}

ProfileButtons profileButtons(
    const logbook::DiveRecord &dive, const ProfileClipboard &clipboard, bool secondProfileShown)
{
    const bool samples = dive.sampleCount != 0;
    return { samples, samples && !clipboard.isEmpty() && !secondProfileShown, secondProfileShown, samples };
}

std::optional<PlanRequest> planRequest(const logbook::DiveRecord &dive, int cursor)
{
    if (dive.sampleCount == 0 || cursor < 4)
        return std::nullopt;
    // A negative stored maximum means the profile's own maximum is the one to use.
    const double metres = dive.maxDepth != logbook::kMissing && dive.maxDepth >= 0
        ? dive.maxDepth / 100.0
        : static_cast<double>(dive.profileMaxDepth);
    PlanRequest request;
    request.depthMetres = std::isfinite(metres) ? static_cast<int>(std::ceil(std::clamp(metres, 0.0, 1000.0))) : 0;
    request.bottomMinutes = std::min(cursor, static_cast<int>(dive.sampleCount)) / 3;
    request.mountainTable = dive.altitudeClass > 1;
    return request;
}

} // namespace zorv::profile
