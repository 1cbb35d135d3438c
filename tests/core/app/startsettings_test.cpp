#include "app/startsettings.h"
#include "common/atomicfile.h"
#include "common/fileset.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace zorv::app {
namespace {

    using test::TempDir;
    namespace fs = std::filesystem;

    TEST(StartSettings, ReadsBothFilesAppliesOverridesAndCleansStrayTemporaries)
    {
        TempDir dir;
        test::writeFile(
            dir / settings::kSettingsFileName, "[Ansicht]\nMetrisch=0\nErweitert=0\n[Computertyp]\nCT000=Von Hand\n");
        test::writeFile(dir / settings::kCatalogueFileName, "[200]\nName=Eigener\n");
        // A save that crashed half-way, and an unrelated file that must stay.
        const fs::path stray = dir / (std::string(common::kTempPrefix) + "Zorv.ini.1234");
        test::writeFile(stray, "half");
        test::writeFile(dir / "notes.txt", "mine");

        StartSettings loaded;
        const SettingsLoadReport report = loaded.load(dir.path(), {});
        EXPECT_TRUE(report.settingsFileRead);
        EXPECT_TRUE(report.catalogueFileRead);
        EXPECT_TRUE(report.warnings.empty());
        EXPECT_FALSE(fs::exists(stray));
        EXPECT_TRUE(fs::exists(dir / "notes.txt"));
        EXPECT_EQ(loaded.catalogue.displayName(0), "Von Hand");
        EXPECT_EQ(loaded.catalogue.displayName(200), "Eigener");

        logbook::Logbook book;
        loaded.applyTo(book);
        EXPECT_EQ(book.unitSystem(), logbook::UnitSystem::Imperial);
        EXPECT_EQ(book.mode(), logbook::Mode::Standard);
    }

    TEST(StartSettings, MissingFilesAreTheFirstRunWithoutWarning)
    {
        TempDir dir;
        StartSettings loaded;
        const SettingsLoadReport report = loaded.load(dir.path(), {});
        EXPECT_FALSE(report.settingsFileRead);
        EXPECT_FALSE(report.catalogueFileRead);
        EXPECT_TRUE(report.warnings.empty());
        EXPECT_EQ(loaded.settings.unitSystem, settings::Settings {}.unitSystem);
    }

    TEST(StartSettings, ABadSettingsFileWarnsNamingItAndLeavesTheDefaults)
    {
        TempDir dir;
        fs::create_directory(dir / settings::kSettingsFileName);
        test::writeFile(dir / settings::kCatalogueFileName, std::string(common::kMaxSettingsFileSize + 1, ';'));

        StartSettings loaded;
        const SettingsLoadReport report = loaded.load(dir.path(), {});
        ASSERT_EQ(report.warnings.size(), 2U);
        EXPECT_NE(report.warnings[0].find(settings::kSettingsFileName), std::string::npos);
        EXPECT_NE(report.warnings[0].find("n'est pas un fichier ordinaire"), std::string::npos);
        EXPECT_NE(report.warnings[1].find(settings::kCatalogueFileName), std::string::npos);
        EXPECT_NE(report.warnings[1].find("trop grand"), std::string::npos);
        EXPECT_NE(report.warnings[1].find("défaut"), std::string::npos);
        EXPECT_FALSE(report.settingsFileRead);
        EXPECT_EQ(loaded.catalogue.entries(), computers::ComputerCatalogue::withBuiltInTypes().entries());
    }

} // namespace
} // namespace zorv::app
