// Fuzzes the ini reader behind the settings and the computer types: any bytes parse,
// what was read serialises and parses back to the same lines, and the settings and
// catalogue read from it without failing.
#include "computers/computercatalogue.h"
#include "settings/inifile.h"
#include "settings/settings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace zorv;
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    settings::IniFile ini;
    ini.parse(bytes);

    // Writing back what was read must not change it: a second round gives the same bytes.
    const std::string once = ini.serialise();
    settings::IniFile again;
    again.parse(once);
    if (again.serialise() != once)
        std::abort();
    for (const std::string &section : ini.sectionNames()) {
        for (const std::string &key : ini.keyNames(section)) {
            if (again.readString(section, key) != ini.readString(section, key))
                std::abort();
            (void)ini.readInt(section, key, 7);
        }
    }

    settings::Settings loaded;
    loaded.loadAll(ini, settings::ScreenSize { 1024, 768 });
    computers::ComputerCatalogue catalogue = computers::ComputerCatalogue::withBuiltInTypes();
    catalogue.load(ini);
    ini.writeString("Fuzz", "Key", "value");
    (void)ini.serialise();
    return 0;
}
