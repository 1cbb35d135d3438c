// Dives and list readers shared by the logbook tests.
#pragma once

#include "logbook/diverecord.h"
#include "logbook/valuelist.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorv::test {

inline logbook::DiveRecord makeDive(std::uint32_t date, std::int16_t time, const char *site)
{
    logbook::DiveRecord d;
    d.date = date;
    d.entryTime = time;
    logbook::setFixedText(d.site, site);
    return d;
}

using Texts = std::vector<std::string>;

inline Texts texts(const logbook::ValueList &list)
{
    Texts out;
    for (int i = 0; i < list.count(); ++i)
        out.push_back(list.get(i));
    return out;
}

} // namespace zorv::test
