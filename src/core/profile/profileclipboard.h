// The second profile that the profile window can lay over any dive: copied from a dive or computed by the planner.
#pragma once

#include "logbook/diverecord.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace zorv::profile {

// One per run; it outlives the profile window and the dive it was copied from.
class ProfileClipboard {
public:
    // A full dive's samples plus the closing surface point.
    static constexpr int kCapacity = logbook::kMaxSamples + 1;

    bool isEmpty() const { return m_count == 0; }
    int count() const { return m_count; }
    // Metres, negative below the surface.
    std::span<const double> depths() const { return { m_depths.data(), static_cast<std::size_t>(m_count) }; }
    // Marker byte 0 of each point.
    std::span<const std::uint8_t> markers() const { return { m_markers.data(), static_cast<std::size_t>(m_count) }; }

    // The dive's samples and a closing surface point; a dive without samples leaves the clipboard as it was.
    void copyDive(const logbook::DiveRecord &dive);
    // A computed profile (the planner's); points past the capacity are dropped.
    void setProfile(std::span<const double> depths, std::span<const std::uint8_t> markers);
    void clear() { m_count = 0; }

private:
    std::array<double, kCapacity> m_depths {};
    std::array<std::uint8_t, kCapacity> m_markers {};
    int m_count = 0;
};

// Which of the window's clipboard and planner buttons may be pressed.
struct ProfileButtons {
    bool copy = false; // "&Copier"
    bool paste = false; // "C&oller"
    bool erase = false; // "&Effacer"
    bool plan = false; // "Déco &92"
    bool operator==(const ProfileButtons &) const = default;
};
ProfileButtons profileButtons(
    const logbook::DiveRecord &dive, const ProfileClipboard &clipboard, bool secondProfileShown);

// What the planner is asked for a dive with the cursor at a sample.
struct PlanRequest {
    int depthMetres = 0; // the dive's maximum depth, rounded up
    int bottomMinutes = 0; // the time up to the cursor
    bool mountainTable = false; // from the 900 m altitude class upward
    bool operator==(const PlanRequest &) const = default;
};
// Nothing for a cursor in the first minute (index below 4) or a dive without samples.
std::optional<PlanRequest> planRequest(const logbook::DiveRecord &dive, int cursor);

} // namespace zorv::profile
