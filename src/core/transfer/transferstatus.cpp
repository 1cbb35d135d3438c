#include "transfer/transferstatus.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "computers/computercatalogue.h"

namespace zorv::transfer {

using common::StringId;

namespace {

    constexpr canvas::Rgb kWhite = canvas::rgb(255, 255, 255);
    constexpr canvas::Rgb kBlack = canvas::rgb(0, 0, 0);
    constexpr canvas::Rgb kRed = canvas::rgb(255, 0, 0);
    constexpr canvas::Rgb kDarkRed = canvas::rgb(128, 0, 0);
    constexpr canvas::Rgb kGreen = canvas::rgb(0, 128, 0);

} // namespace

canvas::Rgb tintForeground(Tint tint)
{
    return tint == Tint::RedOnBlack ? kRed : kWhite;
}

canvas::Rgb tintBackground(Tint tint)
{
    switch (tint) {
    case Tint::WhiteOnGreen:
        return kGreen;
    case Tint::WhiteOnRed:
        return kRed;
    case Tint::WhiteOnDarkRed:
        return kDarkRed;
    case Tint::WhiteOnBlack:
    case Tint::RedOnBlack:
    case Tint::Default:
        break;
    }
    return kBlack;
}

TransferStatus transferStatus(const Receiver &receiver, int comPort, std::optional<std::uint8_t> computerType,
    const computers::ComputerCatalogue &catalogue)
{
    TransferStatus status;
    if (receiver.connected())
        status.connection = { std::string(common::str(StringId::TransferConnected)), Tint::WhiteOnGreen };
    else
        status.connection = { std::string(common::str(StringId::TransferNotConnected)),
            receiver.blink() ? Tint::WhiteOnDarkRed : Tint::WhiteOnRed };

    status.comPort = { common::cformat("%d", comPort), Tint::WhiteOnBlack };
    if (receiver.portError())
        status.portError = { std::string(common::str(StringId::TransferComError)), Tint::WhiteOnRed };

    if (computerType)
        status.state = { catalogue.displayName(*computerType), Tint::RedOnBlack };
    else if (receiver.running())
        status.state = { std::string(common::str(StringId::TransferRunning)), Tint::Default };
    else if (receiver.transmissionFailed())
        status.state = { std::string(common::str(StringId::TransferError)), Tint::WhiteOnRed };
    else
        status.state = { std::string(common::str(StringId::TransferWaiting)), Tint::Default };
    return status;
}

Tint batteryTint(int batteryPercent)
{
    if (batteryPercent < 0)
        return Tint::Default;
    return batteryPercent >= 20 ? Tint::WhiteOnGreen : Tint::WhiteOnRed;
}

} // namespace zorv::transfer
