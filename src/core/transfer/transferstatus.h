// What the transfer dialog's status fields say and in which colours, from the receiver's state.
#pragma once

#include "canvas/rgb.h"
#include "transfer/receiver.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zorv::computers {
class ComputerCatalogue;
} // namespace zorv::computers

namespace zorv::transfer {

// The few colour pairs the dialog paints its fields in.
enum class Tint {
    Default,
    WhiteOnGreen,
    WhiteOnRed,
    WhiteOnDarkRed,
    WhiteOnBlack,
    RedOnBlack,
};

// Text and background of a tint; meaningless for Tint::Default.
canvas::Rgb tintForeground(Tint tint);
canvas::Rgb tintBackground(Tint tint);

struct StatusField {
    std::string text; // UTF-8
    Tint tint = Tint::Default;

    bool operator==(const StatusField &) const = default;
};

struct TransferStatus {
    StatusField connection; // "est connecté" / "connecté", blinking red while nobody talks
    StatusField comPort; // the "Com" number
    StatusField portError; // "Erreur-Com" while the port reports trouble
    StatusField state; // waiting, running, failed, then the computer's name
};

// computerType is known once an image has been decoded.
TransferStatus transferStatus(const Receiver &receiver, int comPort, std::optional<std::uint8_t> computerType,
    const computers::ComputerCatalogue &catalogue);

// -1 while no value is known.
Tint batteryTint(int batteryPercent);

} // namespace zorv::transfer
