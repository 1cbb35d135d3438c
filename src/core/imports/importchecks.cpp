#include "imports/importchecks.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "common/textcodec.h"
#include "common/translation.h"
#include "logbook/daynumber.h"

#include <array>

namespace zorv::imports {

bool isCalendarDate(int day, int month, int year)
{
    static constexpr std::array<int, 12> kDays = { 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (year < kLowestYear || year > kHighestYear || month < 1 || month > 12 || day < 1)
        return false;
    if (month == 2 && !logbook::isLeapYear(year))
        return day <= 28;
    return day <= kDays[static_cast<std::size_t>(month - 1)];
}

common::Result impossibleValue(std::string_view name, std::string_view value)
{
    // The value is shown as the file holds it, cut short and made fit for a message.
    const std::string shown
        = common::tr(std::string(name).c_str()) + std::string("=") + common::escapeInvalidUtf8(value.substr(0, 40));
    return common::Result::failure(common::Status::Refused,
        common::cformat(std::string(common::str(common::StringId::ImportImpossibleValue)).c_str(), shown.c_str()));
}

bool readNumbers(std::string_view text, char separator, int *numbers, int count, int width)
{
    for (int i = 0; i < count; ++i) {
        int digits = 0;
        int value = 0;
        while (!text.empty() && text.front() >= '0' && text.front() <= '9') {
            if (++digits > width)
                return false;
            value = value * 10 + (text.front() - '0');
            text.remove_prefix(1);
        }
        if (digits == 0)
            return false;
        numbers[i] = value;
        if (i + 1 < count) {
            if (text.empty() || text.front() != separator)
                return false;
            text.remove_prefix(1);
        }
    }
    return text.empty();
}

std::string windowsText(std::string_view fileText, bool fileIsUtf8)
{
    return fileIsUtf8 ? common::utf8ToCp1252(fileText) : std::string(fileText);
}

} // namespace zorv::imports
