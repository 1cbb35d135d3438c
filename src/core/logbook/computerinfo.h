// What the logbook needs to know about a dive computer type, without depending on the catalogue.
#pragma once

#include <cstdint>
#include <string>

namespace zorv::logbook {

// The computer catalogue implements this. The logbook reader asks it which
// computers carry the extra profile word (nitrox and O2 computers) and which
// need the O2 variant of the profile decoder; the field catalogue asks it for
// the name shown for a dive.
class ComputerInfo {
public:
    virtual ~ComputerInfo() = default;
    virtual bool isNitrox(std::uint8_t typeId) const = 0;
    virtual bool isO2(std::uint8_t typeId) const = 0;
    // The name shown for a dive's computer, overrides of the user included (UTF-8).
    virtual std::string displayName(std::uint8_t typeId) const = 0;

    bool carriesExtraWord(std::uint8_t typeId) const { return isNitrox(typeId) || isO2(typeId); }
};

} // namespace zorv::logbook
