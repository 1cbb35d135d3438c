#include "computers/computercatalogue.h"
#include "settings/settings.h"
#include "testutil.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace zorv::computers;
using zorv::settings::IniFile;
using zorv::test::TempDir;

namespace {

IniFile parsed(const std::string &bytes)
{
    IniFile ini;
    ini.parse(bytes);
    return ini;
}

ComputerType userType(std::uint8_t id, std::string name, Gas gas = Gas::Air, bool imported = false)
{
    ComputerType type;
    type.typeId = id;
    type.name = std::move(name);
    type.gas = gas;
    type.imported = imported;
    return type;
}

std::vector<std::string> names(const ComputerCatalogue &catalogue)
{
    std::vector<std::string> out;
    for (const ComputerType &entry : catalogue.entries())
        out.push_back(entry.name);
    return out;
}

} // namespace

TEST(ComputerCatalogue, BuiltInTypesAreSortedAndNumbered)
{
    const ComputerCatalogue c = ComputerCatalogue::withBuiltInTypes();
    ASSERT_EQ(c.count(), 17);
    const auto sortedNames = names(c);
    EXPECT_TRUE(std::is_sorted(sortedNames.begin(), sortedNames.end()));
    // Equal names stay separate entries: the id is the key.
    EXPECT_EQ(c.name(31), "Aladin Pro");
    EXPECT_EQ(c.name(63), "Aladin Pro");
    EXPECT_EQ(c.name(29), c.name(61));

    // The last entry is numbered like every other.
    EXPECT_EQ(c.typeIdOfAirOrdinal(13), 72);
    EXPECT_EQ(c.airPickList().size(), 14u);
    EXPECT_EQ(c.airPickList().back(), "Spiro Monitor 3 Air [72]");

    EXPECT_EQ(c.importPickList(),
        (std::vector<std::string> {
            "Citizen Hyper Aqualand [177]", "Citizen ProMaster [178]", "Mares Guardian [179]" }));
    EXPECT_EQ(c.importOrdinal(178), 1);
    EXPECT_EQ(c.typeIdOfImportOrdinal(2), 179);
    EXPECT_EQ(c.importOrdinal(72), -1);
    for (int i = 0; i < c.count(); ++i) {
        const ComputerType e = c.entryAt(i);
        EXPECT_TRUE(e.builtIn);
        EXPECT_EQ(c.importNameAt(i).has_value(), e.imported) << e.name;
        EXPECT_EQ(c.airNameAt(i).has_value(), e.gas == Gas::Air) << e.name;
    }

    EXPECT_TRUE(c.carriesExtraWord(164));
}

TEST(ComputerCatalogue, UnknownIdsGiveNothing)
{
    const ComputerCatalogue c = ComputerCatalogue::withBuiltInTypes();
    EXPECT_FALSE(c.contains(99));
    EXPECT_EQ(c.name(99), "");
    EXPECT_FALSE(c.airIntegrated(99) || c.isNitrox(99) || c.isO2(99) || c.isImport(99) || c.isAir(99));
    EXPECT_EQ(c.importOrdinal(99), -1);
    EXPECT_EQ(c.airOrdinal(99), -1);
    EXPECT_EQ(c.typeIdOfImportOrdinal(3), 0);
    EXPECT_EQ(c.typeIdOfAirOrdinal(-1), 0);
    EXPECT_FALSE(c.importNameAt(17).has_value());
    EXPECT_EQ(c.displayName(99), "Type 99");
    EXPECT_TRUE(ComputerCatalogue::isBuiltInSerialId(0));
    EXPECT_FALSE(ComputerCatalogue::isBuiltInSerialId(256));
}

TEST(ComputerCatalogue, GasOnlyCountsForSerialComputers)
{
    ComputerCatalogue c = ComputerCatalogue::withBuiltInTypes();
    c.add(userType(180, "Nitrox import", Gas::Nitrox, true), SortNow::Yes);
    c.add(userType(181, "O2 import", Gas::Oxygen, true), SortNow::Yes);
    EXPECT_FALSE(c.isNitrox(180));
    EXPECT_FALSE(c.isO2(181));
    EXPECT_EQ(c.importPickList().size(), 5u);
    EXPECT_EQ(c.airOrdinal(180), -1);
}

TEST(ComputerCatalogue, SortsAsTheStoredBytes)
{
    ComputerCatalogue c;
    // Windows-1252 puts the euro sign (0x80) before É (0xC9); UTF-8 would not.
    c.add(userType(1, "Émile"), SortNow::No);
    c.add(userType(2, "zeta"), SortNow::No);
    c.add(userType(3, "€uro"), SortNow::No);
    c.add(userType(4, "Zeta"), SortNow::Yes);
    EXPECT_EQ(names(c), (std::vector<std::string> { "Zeta", "zeta", "€uro", "Émile" }));
    EXPECT_EQ(c.airOrdinal(1), 3);

    // A name longer than the old buffer is cut at a character boundary.
    std::string longName;
    for (int i = 0; i < 90; ++i)
        longName += "é";
    c.add(userType(5, longName), SortNow::Yes);
    EXPECT_EQ(c.name(5), longName.substr(0, 2 * kMaxComputerNameLength));
}

TEST(ComputerCatalogue, CtypIniUpdatesBuiltInTypesInPlace)
{
    ComputerCatalogue c = ComputerCatalogue::withBuiltInTypes();
    c.load(parsed("[28]\nName=Mein Aladin\nGas=1\nPressure=0\n"
                  "[200]\nName=Eigener\nPressure=1\n"
                  "[201]\nName=\nGas=2\n"
                  "[0028]\nName=leading zeros are not id 28\n"
                  "[256]\nName=out of range\n"));
    EXPECT_EQ(c.count(), 18);
    EXPECT_EQ(c.name(28), "Mein Aladin");
    EXPECT_TRUE(c.isNitrox(28));
    EXPECT_FALSE(c.airIntegrated(28));
    EXPECT_EQ(c.airOrdinal(28), -1);
    EXPECT_FALSE(c.contains(201));
    for (const ComputerType &e : c.entries())
        EXPECT_EQ(e.builtIn, e.typeId != 200) << e.name;
    const auto sortedNames = names(c);
    EXPECT_TRUE(std::is_sorted(sortedNames.begin(), sortedNames.end()));
}

TEST(ComputerCatalogue, DisplayNameTakesTheUsersOverride)
{
    ComputerCatalogue c = ComputerCatalogue::withBuiltInTypes();
    EXPECT_EQ(c.displayName(0), "Données manuelles");
    EXPECT_EQ(c.displayName(28), "Aladin Air");
    const IniFile overrides = parsed("[Computertyp]\nCT000=Von Hand\nCT099=Unbekannt\n");
    c.setNameOverrides(&overrides);
    EXPECT_EQ(c.displayName(0), "Von Hand");
    EXPECT_EQ(c.displayName(99), "Unbekannt");
    EXPECT_EQ(c.displayName(28), "Aladin Air");
}

TEST(ComputerCatalogue, SaveAndLoadRoundTrip)
{
    TempDir dir;
    const auto path = dir / zorv::settings::kCatalogueFileName;
    zorv::test::writeFile(path, "[99]\nName=gone after saving\n; comment\n");

    ComputerCatalogue c = ComputerCatalogue::withBuiltInTypes();
    c.add(userType(200, "Eigener Ö", Gas::Oxygen), SortNow::No);
    c.add(userType(30, "Aladin Sport Plus"), SortNow::Yes);
    IniFile ctyp(path);
    ASSERT_TRUE(c.save(ctyp));

    const std::string bytes = zorv::test::readFile(path);
    EXPECT_EQ(bytes.find("gone"), std::string::npos);
    EXPECT_NE(bytes.find("[200]\nName=Eigener \xD6\nGas=2\nPressure=0\nImport=0\n"), std::string::npos);
    EXPECT_NE(bytes.find("[177]\nName=Citizen Hyper Aqualand\nGas=0\nPressure=0\nImport=1\n"), std::string::npos);

    ComputerCatalogue reloaded = ComputerCatalogue::withBuiltInTypes();
    reloaded.load(IniFile(path));
    EXPECT_EQ(reloaded.entries(), c.entries());

    // A missing file leaves the built-in types as they are.
    ComputerCatalogue fresh = ComputerCatalogue::withBuiltInTypes();
    fresh.load(IniFile(dir / "missing.ini"));
    EXPECT_EQ(fresh.entries(), ComputerCatalogue::withBuiltInTypes().entries());
}
