#include "common/cformat.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <locale.h>

namespace zorv::common {

namespace {

    // uselocale() switches only the calling thread, so this is safe to call while
    // the GUI has set LC_ALL from the environment.
    class CLocaleScope {
    public:
        CLocaleScope()
        {
            static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
            m_previous = uselocale(cLocale);
        }
        ~CLocaleScope() { uselocale(m_previous); }
        CLocaleScope(const CLocaleScope &) = delete;
        CLocaleScope &operator=(const CLocaleScope &) = delete;

    private:
        locale_t m_previous;
    };

} // namespace

std::string cformat(const char *fmt, ...)
{
    CLocaleScope scope;
    char small[128];
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(small, sizeof small, fmt, args);
    va_end(args);
    std::string out;
    if (n < 0) {
        va_end(copy);
        return out;
    }
    if (static_cast<std::size_t>(n) < sizeof small) {
        out.assign(small, static_cast<std::size_t>(n));
    } else {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), fmt, copy);
        out.resize(static_cast<std::size_t>(n));
    }
    va_end(copy);
    return out;
}

int cscan(const std::string &text, const char *fmt, ...)
{
    CLocaleScope scope;
    va_list args;
    va_start(args, fmt);
    int n = std::vsscanf(text.c_str(), fmt, args);
    va_end(args);
    return n;
}

} // namespace zorv::common
