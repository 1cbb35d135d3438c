#include "common/cformat.h"
#include "common/decimal.h"
#include "common/strings.h"
#include "common/translation.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/fieldcatalogueinternal.h"
#include "logbook/logbook.h"
#include "logbook/names.h"
#include "logbook/oemcharmap.h"
#include "logbook/units.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <type_traits>

namespace zorv::logbook {

using common::cformat;
using common::StringId;

using namespace fieldcatalogueinternal;

namespace {

    // A typed value that would read back as missing (-10000 was the parser's own
    // "nothing typed" mark in older versions, and logbooks carry that meaning).
    constexpr long long kTypedMissing = -10000;

    bool isSpace(char c)
    {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }

    // Reads an integer the way "%d" does (leading blanks, a sign, digits) but
    // saturates instead of overflowing. Returns false when no digit was found.
    bool scanInt(std::string_view text, std::size_t &pos, long long &value)
    {
        while (pos < text.size() && isSpace(text[pos]))
            ++pos;
        bool negative = false;
        std::size_t p = pos;
        if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
            negative = text[p] == '-';
            ++p;
        }
        const std::size_t digitsStart = p;
        long long v = 0;
        while (p < text.size() && text[p] >= '0' && text[p] <= '9') {
            if (v < INT_MAX)
                v = v * 10 + (text[p] - '0');
            ++p;
        }
        if (p == digitsStart)
            return false;
        if (v > INT_MAX)
            v = INT_MAX;
        value = negative ? -v : v;
        pos = p;
        return true;
    }

    long long leadingInt(std::string_view text)
    {
        std::size_t pos = 0;
        long long value = 0;
        scanInt(text, pos, value);
        return value;
    }

    bool isBlankText(std::string_view text)
    {
        for (char c : text)
            if (!isSpace(c))
                return false;
        return true;
    }

    // Values past this are out of every field's range, and converting them could overflow.
    constexpr double kHugeTyped = 1e7;

    // A 16-bit field holds any hundredths up to 32766 (32767 is the missing mark).
    bool fitsStored(long long hundredths)
    {
        return hundredths >= INT16_MIN && hundredths <= kMissing - 1;
    }

    long long saturatingTrunc(double value)
    {
        if (std::isnan(value))
            return 0;
        constexpr double limit = 1e15;
        if (value >= limit)
            return static_cast<long long>(limit);
        if (value <= -limit)
            return -static_cast<long long>(limit);
        return static_cast<long long>(std::trunc(value));
    }

    template <std::size_t N> void storeText(std::array<char, N> &buffer, std::string_view utf8, std::size_t capacity)
    {
        setFixedText(buffer, displayToStored(utf8), capacity);
    }

    // Index of a displayed word in a name table; -1 when none matches.
    template <typename Lookup> int indexOfName(std::string_view text, int count, Lookup name)
    {
        for (int i = 1; i < count; ++i)
            if (name(i) == text)
                return i;
        return -1;
    }

} // namespace

std::uint32_t parseDate(std::string_view text)
{
    long long parts[3] = { 0, 0, 0 };
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != '.')
                break;
            ++pos;
        }
        if (!scanInt(text, pos, parts[i]))
            break;
    }
    long long day = parts[0];
    long long month = parts[1];
    long long year = parts[2];
    // Negative days and months cannot be meant, and they would index the month tables backwards.
    if (text.empty() || day <= 0 || month <= 0)
        return kNoDate;
    if (year < 20)
        year += 2000;
    if (year < 100)
        year += 1900;
    year += (month - 1) / 12;
    month = (month - 1) % 12 + 1;
    // Beyond this the day count no longer shows as a date anyway, and it keeps the sum in range.
    if (year > 9999 || day > 1000000)
        return kNoDate;
    return dayNumber(static_cast<int>(day), static_cast<int>(month), static_cast<int>(year));
}

std::int16_t parseMinutes(std::string_view text)
{
    if (text.empty())
        return kMissing;
    long long minutes = 0;
    if (text.find(':') != std::string_view::npos) {
        long long hours = 0;
        std::size_t pos = 0;
        if (scanInt(text, pos, hours) && pos < text.size() && text[pos] == ':') {
            ++pos;
            scanInt(text, pos, minutes);
        }
        minutes += hours * 60;
    } else {
        minutes = leadingInt(text);
    }
    return minutes == 0 ? kMissing : toStored(minutes);
}

std::string refusalMessage(Parsed outcome, std::string_view fieldLabel, std::string_view text)
{
    const std::string label(fieldLabel);
    const std::string typed(text);
    switch (outcome) {
    case Parsed::NotANumber:
        return cformat(
            common::tr("Nombre illisible dans « %s » : « %s » (exemple : 18,5)."), label.c_str(), typed.c_str());
    case Parsed::OutOfRange:
        return cformat(common::tr("Valeur impossible dans « %s » : « %s »."), label.c_str(), typed.c_str());
    case Parsed::NotTyped:
        return cformat(common::tr("Le champ « %s » ne se tape pas."), label.c_str());
    case Parsed::Stored:
        break;
    }
    return {};
}

common::Result FieldCatalogue::readTyped(
    Field field, std::string_view text, std::string_view label, DiveRecord &record) const
{
    const Parsed parsed = toRecord(field, text, record);
    if (parsed == Parsed::Stored)
        return common::Result::success();
    return common::Result::failure(common::Status::Refused, refusalMessage(parsed, label, text));
}

Parsed FieldCatalogue::toRecord(Field field, std::string_view text, DiveRecord &record) const
{
    const bool metric = unitSystem() == UnitSystem::Metric;
    const bool blank = isBlankText(text);
    const std::optional<double> typed = blank ? std::nullopt : common::parseDecimal(text);
    // Why a typed number is not stored; Stored when it may be.
    auto refusal = [&](bool mayBeNegative) {
        if (!typed)
            return Parsed::NotANumber;
        if (std::fabs(*typed) > kHugeTyped || (!mayBeNegative && *typed < 0))
            return Parsed::OutOfRange;
        return Parsed::Stored;
    };
    // Stores hundredths that passed the range test; the old "nothing typed" mark reads as missing.
    auto storeHundredths = [](std::int16_t &target, long long hundredths) {
        if (!fitsStored(hundredths))
            return Parsed::OutOfRange;
        target = hundredths == kTypedMissing ? kMissing : static_cast<std::int16_t>(hundredths);
        return Parsed::Stored;
    };

    // Decimal fields: the typed number, in metric, as hundredths.
    auto decimalField = [&](std::int16_t &target, double (*fromImperial)(double), bool mayBeNegative) {
        if (blank) {
            target = kMissing;
            return Parsed::Stored;
        }
        if (const Parsed r = refusal(mayBeNegative); r != Parsed::Stored)
            return r;
        float value = static_cast<float>(*typed);
        if (!metric)
            value = static_cast<float>(fromImperial(value));
        return storeHundredths(target, toHundredths(value));
    };
    // Fields kept in whole units (metres or bar): a fraction typed is dropped, as the field shows none.
    auto wholeField = [&](std::int16_t &target, long long (*imperialToHundredths)(long long), long long cap) {
        if (blank) {
            target = kMissing;
            return Parsed::Stored;
        }
        if (const Parsed r = refusal(false); r != Parsed::Stored)
            return r;
        const auto whole = static_cast<long long>(std::trunc(*typed));
        const long long hundredths = (metric ? whole : imperialToHundredths(whole) / 100) * 100;
        return storeHundredths(target, std::min(hundredths, cap));
    };
    auto indexField = [&](auto &target, int count, auto name) {
        if (text.empty()) {
            target = 0;
            return Parsed::Stored;
        }
        const int index = indexOfName(text, count, name);
        if (index > 0)
            target = static_cast<std::remove_reference_t<decltype(target)>>(index);
        return Parsed::Stored;
    };
    constexpr long long kNoCap = LLONG_MAX;

    switch (field) {
    case Field::DiveNumber: {
        if (const Parsed r = refusal(false); r != Parsed::Stored)
            return r;
        if (*typed != std::trunc(*typed))
            return Parsed::NotANumber;
        if (*typed > kMissing - 1)
            return Parsed::OutOfRange;
        record.diveNumber = static_cast<std::int16_t>(*typed);
        return Parsed::Stored;
    }
    case Field::Date:
        record.date = parseDate(text);
        return Parsed::Stored;
    case Field::EntryTime:
        record.entryTime = parseMinutes(text);
        return Parsed::Stored;
    case Field::SurfaceInterval:
        record.surfaceInterval = parseMinutes(text);
        return Parsed::Stored;
    case Field::Duration:
        record.duration = parseMinutes(text);
        return Parsed::Stored;
    case Field::MaxDepth:
        if (metric || blank)
            return decimalField(record.maxDepth, nullptr, false);
        if (const Parsed r = refusal(false); r != Parsed::Stored)
            return r;
        // Cut to whole centimetres in one step: going through metres × 100
        // again would lose a centimetre to binary rounding (40 ft is 1219, not 1218).
        return storeHundredths(record.maxDepth, saturatingTrunc(static_cast<float>(*typed) * 0.3047994328292154 * 100));
    case Field::Visibility:
        return wholeField(
            record.extra.visibility,
            [](long long feet) { return saturatingTrunc(static_cast<double>(feet) * 0.3047994328292154 * 100); },
            kNoCap);
    case Field::AirTemperature:
        return decimalField(record.airTemperature, fahrenheitToCelsius, true);
    case Field::MinWaterTemperature:
        return decimalField(record.minWaterTemperature, fahrenheitToCelsius, true);
    case Field::AirUsed:
    case Field::TankPressure: {
        std::int16_t &target = field == Field::AirUsed ? record.airUsed : record.extra.tankPressure;
        // Fillings above 320 bar do not exist; a typo must not make the air-consumption figures absurd.
        return wholeField(
            target,
            [](long long psi) { return saturatingTrunc(static_cast<double>(psi) * 0.445 * 0.15500031000062 * 100); },
            field == Field::TankPressure ? 32000 : kNoCap);
    }
    case Field::TankVolume:
        return decimalField(record.tankVolume, cubicFeetToLitres, false);
    case Field::Weights:
        return decimalField(
            record.extra.weights, [](double lb) { return static_cast<double>(lbToKg(static_cast<float>(lb))); }, false);
    case Field::Place:
        storeText(record.place, text, kPlaceLength);
        return Parsed::Stored;
    case Field::Site:
        storeText(record.site, text, kSiteLength);
        return Parsed::Stored;
    case Field::Partners:
        storeText(record.partners, text, kPartnersLength);
        return Parsed::Stored;
    case Field::OtherActivities:
        storeText(record.otherActivities, text, kOtherActivitiesLength);
        return Parsed::Stored;
    case Field::Model:
        storeText(record.extra.model, text, kModelLength);
        return Parsed::Stored;
    case Field::Comment: {
        const std::string stored = displayToStored(text);
        const std::string_view all(stored);
        setFixedText(record.comment, all.substr(0, kCommentLength), kCommentLength);
        setFixedText(record.extra.commentMore, all.size() > kCommentLength ? all.substr(kCommentLength) : "",
            kCommentMoreLength);
        return Parsed::Stored;
    }
    case Field::Suit:
        return indexField(record.suit, names::kSuitCount, names::suit);
    case Field::Weather:
        return indexField(record.weather, names::kWeatherCount, names::weather);
    case Field::TankMaterial:
        return indexField(record.extra.tankMaterial, names::kTankMaterialCount, names::tankMaterial);
    case Field::AltitudeClass: {
        const UnitSystem units = unitSystem();
        return indexField(record.altitudeClass, names::kAltitudeClassCount,
            [units](int i) { return names::altitudeClass(i, units); });
    }
    case Field::AverageDepth:
    case Field::AirConsumption:
    case Field::DiveTypeText:
    case Field::ActivitiesText:
    case Field::WarningsText:
    case Field::ComputerName:
    case Field::ComputerNameForPrint:
    case Field::ProfileKindText:
        return Parsed::NotTyped;
    }
    return Parsed::NotTyped;
}

} // namespace zorv::logbook
