// The user's default values for new dives.
#pragma once

#include <cstdint>
#include <string>

namespace zorv::logbook {

// A value of 0 (or an empty model) means "no default".
struct NewDiveDefaults {
    bool apply = false;
    std::uint8_t altitudeClass = 0;
    std::uint8_t suit = 0;
    std::int16_t tankVolume = 0; // hundredths of a litre
    std::uint16_t tankMaterial = 0;
    std::int16_t weights = 0; // hundredths of a kilogram
    std::string model; // stored (OEM) form
    std::uint16_t diveTypeMask = 0; // DiveType bits 2-7 to set

    bool operator==(const NewDiveDefaults &) const = default;
};

} // namespace zorv::logbook
