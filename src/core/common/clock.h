// The program's source of local date and time, replaceable so tests are deterministic.
#pragma once

#include <cstdint>
#include <ctime>

namespace zorv::common {

struct LocalDateTime {
    int year = 1970;
    int month = 1; // 1..12
    int day = 1; // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since the epoch, as time() gives them.
    virtual std::int64_t now() const = 0;
    // Breaks a moment into local calendar time and back; the system clock uses the
    // platform's time-zone rules, a fixed clock plain UTC arithmetic.
    virtual LocalDateTime toLocal(std::int64_t seconds) const = 0;
    virtual std::int64_t fromLocal(const LocalDateTime &local) const = 0;

    LocalDateTime localNow() const { return toLocal(now()); }
};

class SystemClock final : public Clock {
public:
    std::int64_t now() const override;
    LocalDateTime toLocal(std::int64_t seconds) const override;
    std::int64_t fromLocal(const LocalDateTime &local) const override;
};

// A clock stopped at a given moment, with UTC as local time.
class FixedClock final : public Clock {
public:
    explicit FixedClock(std::int64_t seconds)
        : m_seconds(seconds)
    {
    }
    void set(std::int64_t seconds) { m_seconds = seconds; }
    std::int64_t now() const override { return m_seconds; }
    LocalDateTime toLocal(std::int64_t seconds) const override;
    std::int64_t fromLocal(const LocalDateTime &local) const override;

private:
    std::int64_t m_seconds;
};

// The clock the program uses; tests install their own.
const Clock &clock();
void setClock(const Clock *clock); // nullptr restores the system clock

} // namespace zorv::common
