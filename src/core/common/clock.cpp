#include "common/clock.h"

namespace zorv::common {

namespace {

    LocalDateTime fromTm(const std::tm &tm)
    {
        return { tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec };
    }

    std::tm toTm(const LocalDateTime &l)
    {
        std::tm tm {};
        tm.tm_year = l.year - 1900;
        tm.tm_mon = l.month - 1;
        tm.tm_mday = l.day;
        tm.tm_hour = l.hour;
        tm.tm_min = l.minute;
        tm.tm_sec = l.second;
        tm.tm_isdst = -1; // let the calendar decide daylight saving
        return tm;
    }

    const Clock *g_clock = nullptr;

} // namespace

std::int64_t SystemClock::now() const
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

LocalDateTime SystemClock::toLocal(std::int64_t seconds) const
{
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm {};
    localtime_r(&t, &tm);
    return fromTm(tm);
}

std::int64_t SystemClock::fromLocal(const LocalDateTime &local) const
{
    std::tm tm = toTm(local);
    return static_cast<std::int64_t>(std::mktime(&tm));
}

LocalDateTime FixedClock::toLocal(std::int64_t seconds) const
{
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm {};
    gmtime_r(&t, &tm);
    return fromTm(tm);
}

std::int64_t FixedClock::fromLocal(const LocalDateTime &local) const
{
    std::tm tm = toTm(local);
    tm.tm_isdst = 0;
    return static_cast<std::int64_t>(timegm(&tm));
}

const Clock &clock()
{
    static const SystemClock system;
    return g_clock ? *g_clock : system;
}

void setClock(const Clock *c)
{
    g_clock = c;
}

} // namespace zorv::common
