// Unit conversions, unit words and the number and time formatters every view of a dive value shares.
#pragma once

#include "logbook/unitsystem.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zorv::logbook {

// Conversions between the stored metric units and the imperial display. The
// factors are those the logbook format has always used, odd ones included:
// they decide how old logbooks read back, so they are not "corrected".
double metresToFeet(double metres);
// Cut to whole centimetres.
double feetToMetres(double feet);
double celsiusToFahrenheit(double celsius);
double fahrenheitToCelsius(double fahrenheit);
// Whole psi, rounded up when the fraction is above 0.2.
int barToPsi(double bar);
// Cut to hundredths of a bar.
double psiToBar(double psi);
// The free air of a tank (litres of water volume × 7), not a volume conversion.
double litresToCubicFeet(double litres);
double cubicFeetToLitres(double cubicFeet);
double litresPerMinuteToCubicFeet(double litresPerMinute);
// Single precision, factor 2.679: the pound of this program is not the avoirdupois one.
float kgToLb(float kg);
float lbToKg(float lb);

// Stored hundredths (of a metre, bar, litre, degree, kilogram) to the value shown,
// in single precision (× 0.01f), and back by × 100 and truncation toward zero.
// The way back saturates instead of overflowing; NaN gives 0.
float fromHundredths(int hundredths);
long long toHundredths(float value);

// The quantities that carry a unit word next to their value.
enum class Quantity {
    Depth, // also visibility
    Temperature,
    Pressure,
    TankVolume,
    AirConsumption,
    Weights,
};

// "m"/"ft", "°C"/"°F", ... (UTF-8, from the string table).
std::string_view unitWord(Quantity quantity, UnitSystem units);

// Formatters of stored values. Each gives the empty text for the missing-value mark
// 32767 and reads 16-bit stored values as signed.

// "%02d:%02d", hours and minutes with division toward zero (-5 shows 00:-5).
std::string formatClock(int minutes);
// "%.1f" / "%.0f" of hundredths × 0.01.
std::string formatOneDecimal(int hundredths);
std::string formatNoDecimal(int hundredths);
// "  %.1f" up to 9.9, else "%.1f": keeps the tank-volume suggestion list aligned.
std::string formatPaddedDecimal(int hundredths);
// "%.0f" of hundredths of a metre in feet.
std::string formatFeet(int hundredths);

enum class Precision {
    Whole,
    OneDecimal,
};
// Hundredths of °C shown in °F.
std::string formatFahrenheit(int hundredths, Precision precision);
// Hundredths of a bar shown in whole psi.
std::string formatPsi(int hundredths);

} // namespace zorv::logbook
