#include "common/translation.h"

#include <array>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <libintl.h>
#include <system_error>

namespace zorv::common {

namespace {

    bool isPlainC(std::string_view locale)
    {
        return locale.empty() || locale == "C" || locale == "POSIX";
    }

    // The value that names the language of texts, in the order gettext reads the environment.
    std::string wantedLocale()
    {
        for (const char *name : { "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG" })
            if (const char *value = std::getenv(name); value && *value)
                return value;
        return {};
    }

    bool holdsCatalogue(const std::filesystem::path &dir)
    {
        std::error_code ec;
        for (const auto &entry : std::filesystem::directory_iterator(dir, ec))
            if (std::filesystem::is_regular_file(entry.path() / "LC_MESSAGES" / "zorv.mo", ec))
                return true;
        return false;
    }

    std::filesystem::path findLocaleDir(const std::filesystem::path &programDir)
    {
        // Installed as <prefix>/bin/zorv next to <prefix>/share/locale; in the build tree the programs
        // sit in build/src/<name>/ and the compiled catalogue in build/locale/.
        const std::array candidates = { programDir / ".." / "share" / "locale", programDir / ".." / ".." / "locale" };
        for (const auto &dir : candidates)
            if (holdsCatalogue(dir))
                return dir.lexically_normal();
        return ZORV_INSTALL_LOCALEDIR;
    }

} // namespace

void setUpTranslations(const std::filesystem::path &programDir, const std::filesystem::path &localeDir)
{
    const char *chosen = std::setlocale(LC_MESSAGES, "");
    // gettext ignores LANGUAGE under the C locale, and a language whose locale is not installed
    // leaves LC_MESSAGES at C: under C.UTF-8 gettext still reads LANGUAGE, so the language is
    // handed over there. A desktop asking for C gets the program's own French.
    if (!chosen || isPlainC(chosen)) {
        const std::string wanted = wantedLocale();
        if (!isPlainC(wanted) && std::setlocale(LC_MESSAGES, "C.UTF-8")) {
            const char *language = std::getenv("LANGUAGE");
            if (!language || !*language)
                setenv("LANGUAGE", wanted.substr(0, wanted.find_first_of(".@")).c_str(), 1);
        }
    }
    const std::filesystem::path dir = localeDir.empty() ? findLocaleDir(programDir) : localeDir;
    bindtextdomain(kTextDomain, dir.c_str());
    // The windows and the terminal take UTF-8 whatever LC_CTYPE says; without this gettext would
    // convert to the C locale's ASCII and print "?" for every accent.
    bind_textdomain_codeset(kTextDomain, "UTF-8");
}

std::string textLanguage()
{
    // The catalogue's header is the translation of the empty text.
    const std::string_view header = dgettext(kTextDomain, "");
    const std::string_view field = "Language: ";
    const auto at = header.find(field);
    if (at == std::string_view::npos)
        return "fr";
    const auto start = at + field.size();
    const std::string language(header.substr(start, header.find('\n', start) - start));
    return language.empty() ? "fr" : language;
}

const char *tr(const char *french)
{
    return *french ? dgettext(kTextDomain, french) : french;
}

std::string_view trInContext(const char *key, std::size_t frenchOffset)
{
    const char *translated = dgettext(kTextDomain, key);
    return translated == key ? std::string_view(key + frenchOffset) : std::string_view(translated);
}

} // namespace zorv::common
