#include "logbook/daynumber.h"
#include "logbook/oemcharmap.h"
#include "settings/options.h"
#include "settings/tablecolumns.h"

#include <gtest/gtest.h>
#include <utility>

using namespace zorv::settings;
using zorv::logbook::DiveRecord;
using zorv::logbook::FieldCatalogue;
using zorv::logbook::Logbook;
using zorv::logbook::NewDiveDefaults;
using zorv::logbook::UnitSystem;

namespace {

TEST(OptionsForm, PortIsTakenOnlyWhenUsable)
{
    for (const auto &[typed, taken] : { std::pair { 1, 1 }, { 8, 8 }, { 0, 3 }, { 9, 3 }, { -1, 3 } })
        EXPECT_EQ(acceptComPort(typed, 3), taken) << typed;

    Settings settings;
    settings.comPort = 4;
    OptionsForm form = optionsForm(settings);
    form.comPort = 9;
    form.units = UnitSystem::Imperial;
    form.currency = "€";
    applyOptionsForm(form, settings);
    EXPECT_EQ(settings.comPort, 4);
    // The rest of the form is still written.
    EXPECT_EQ(settings.unitSystem, UnitSystem::Imperial);
    EXPECT_EQ(settings.currency, "€");
}

TEST(OptionsForm, FileFiltersSplitIntoLabelAndPattern)
{
    const std::vector<FileFilter> browser = parseFileFilter(kBrowserFileFilter);
    ASSERT_EQ(browser.size(), 2u);
    EXPECT_EQ(browser[0].pattern, "*.exe");
    EXPECT_EQ(browser[1].label, "Tous les fichiers (*.*)");
    EXPECT_EQ(browser[1].pattern, "*.*");

    EXPECT_TRUE(parseFileFilter("").empty());
    EXPECT_EQ(fileDialogNameFilters(kBrowserFileFilter),
        (std::vector<std::string> { "Navigateur web (*.exe)", "Tous les fichiers (*)" }));
    EXPECT_EQ(fileDialogNameFilters("Bilder|*.png|"), std::vector<std::string> { "Bilder (*.png)" });
    // A label without its pattern is no filter.
    EXPECT_EQ(parseFileFilter("A|*.a|B").size(), 1u);
}

TEST(DiveTypeChoices, EveryCombinationRoundTrips)
{
    const TypeChoice all[] = { TypeChoice::First, TypeChoice::Second, TypeChoice::Neither };
    for (TypeChoice d : all)
        for (TypeChoice a : all)
            for (TypeChoice w : all) {
                const DiveTypeChoices choices { d, a, w };
                const std::uint16_t mask = diveTypeMask(choices);
                EXPECT_EQ(mask & ~0x00FCu, 0u);
                EXPECT_EQ(diveTypeChoices(mask), choices);
            }
    EXPECT_EQ(diveTypeMask({ TypeChoice::Second, TypeChoice::First, TypeChoice::Second }), 8 | 16 | 128);
    // Nitrox and SCR are no defaults; both water bits (a hand-edited file) read as fresh water.
    EXPECT_EQ(diveTypeMask(diveTypeChoices(0x0300 | 64 | 128)), 64);
}

TEST(NewDiveDefaultsForm, TypedValuesAreParsedLikeDiveFields)
{
    NewDiveDefaultsForm form;
    form.use = true;
    form.altitudeClass = 2;
    form.suit = 6;
    form.tankMaterial = 1;
    form.tankVolume = "  12.0"; // as the suggestion list pads it
    form.weights = "7.5";
    form.diveTypes = { TypeChoice::First, TypeChoice::Neither, TypeChoice::Second };
    NewDiveDefaults defaults = newDiveDefaults(form, UnitSystem::Metric, {});
    EXPECT_TRUE(defaults.apply);
    EXPECT_EQ(defaults.altitudeClass, 2);
    EXPECT_EQ(defaults.suit, 6);
    EXPECT_EQ(defaults.tankMaterial, 1);
    EXPECT_EQ(defaults.tankVolume, 1200);
    EXPECT_EQ(defaults.weights, 750);
    EXPECT_EQ(defaults.diveTypeMask, 4 | 128);

    form.tankVolume = "15";
    form.weights = "20";
    defaults = newDiveDefaults(form, UnitSystem::Imperial, {});
    EXPECT_EQ(defaults.tankVolume, 214); // 15 cft of free air is a 2.14 l tank
    EXPECT_EQ(defaults.weights, 746);
}

TEST(NewDiveDefaultsForm, NonsenseBecomesNoDefault)
{
    NewDiveDefaultsForm form;
    form.tankVolume = "abc";
    form.weights = "-3";
    form.altitudeClass = 7;
    form.tankMaterial = -1;
    const NewDiveDefaults defaults = newDiveDefaults(form, UnitSystem::Metric, {});
    EXPECT_EQ(defaults, NewDiveDefaults {});

    form.tankVolume = "";
    form.weights = "";
    NewDiveDefaults previous;
    previous.tankVolume = 1000;
    previous.weights = 500;
    EXPECT_EQ(newDiveDefaults(form, UnitSystem::Metric, previous).tankVolume, 0);
    EXPECT_EQ(newDiveDefaults(form, UnitSystem::Metric, previous).weights, 0);
}

TEST(NewDiveDefaultsForm, JunkIsRefusedNamingTheField)
{
    NewDiveDefaultsForm form;
    EXPECT_TRUE(checkNewDiveDefaultsForm(form, UnitSystem::Metric));
    form.tankVolume = "12,5";
    form.weights = " 8.5 ";
    EXPECT_TRUE(checkNewDiveDefaultsForm(form, UnitSystem::Imperial));
    const struct {
        const char *tank;
        const char *weights;
        const char *named;
    } refused[] = { { "douze", "8", "« Cont. bouteille »" }, { "12", "8 kg", "« Plombs »" },
        { "12", "-3", "« Plombs »" }, { "1,2,3", "", "« Cont. bouteille »" } };
    for (const auto &c : refused) {
        form.tankVolume = c.tank;
        form.weights = c.weights;
        const zorv::common::Result checked = checkNewDiveDefaultsForm(form, UnitSystem::Metric);
        EXPECT_FALSE(checked) << c.tank << " / " << c.weights;
        EXPECT_NE(checked.message().find(c.named), std::string::npos) << checked.message();
    }
}

TEST(NewDiveDefaultsForm, UntouchedImperialValuesDoNotDrift)
{
    NewDiveDefaults previous;
    previous.tankVolume = 1200;
    previous.weights = 1100;
    for (int round = 0; round < 3; ++round) {
        const NewDiveDefaultsForm form = newDiveDefaultsForm(previous, UnitSystem::Imperial);
        previous = newDiveDefaults(form, UnitSystem::Imperial, previous);
    }
    EXPECT_EQ(previous.tankVolume, 1200);
    EXPECT_EQ(previous.weights, 1100);
}

TEST(TableColumns, StoredWidthsWinOnlyWhenUsable)
{
    Settings settings;
    EXPECT_EQ(tableColumnWidth(settings, 0), 60);
    EXPECT_EQ(tableColumnWidth(settings, 9), 140);
    settings.setColumnWidth(ColumnList::Table, 3, 200);
    settings.setColumnWidth(ColumnList::Table, 4, 7);
    settings.setColumnWidth(ColumnList::Table, 5, 501);
    EXPECT_EQ(tableColumnWidth(settings, 3), 200);
    EXPECT_EQ(tableColumnWidth(settings, 4), 110);
    EXPECT_EQ(tableColumnWidth(settings, 5), 40);
    // A larger font widens built-in widths, never the user's.
    EXPECT_EQ(tableColumnWidth(settings, 5, 64), 64);
    EXPECT_EQ(tableColumnWidth(settings, 5, 20), 40);
    EXPECT_EQ(tableColumnWidth(settings, 3, 300), 200);
    EXPECT_EQ(tableColumns()[6].alignment, ColumnAlignment::Right);
}

TEST(TableCells, NumberCarriesTheProfileMarkerAndFieldsFollowUnits)
{
    DiveRecord plain;
    plain.diveNumber = 7;
    plain.date = zorv::logbook::dayNumber(5, 3, 2004);
    plain.maxDepth = 1234;
    DiveRecord computer = plain;
    computer.diveNumber = 8;
    computer.profileLength = 40;
    computer.profileHeader[0] = 17;
    DiveRecord hand = computer;
    hand.diveNumber = 12345;
    for (std::size_t i = 0; i < hand.profileHeader.size(); ++i)
        hand.profileHeader[i] = static_cast<std::uint16_t>(zorv::logbook::kHandProfileHeaderBase + i);
    Logbook logbook;
    logbook.adoptDives({ plain, computer, hand });
    const auto cell
        = [&](int position, int column) { return tableCellText(logbook, FieldCatalogue(logbook), position, column); };

    EXPECT_EQ(cell(1, 0), "00007  ");
    EXPECT_EQ(cell(2, 0), "00008 P");
    EXPECT_EQ(cell(3, 0), "12345 H");
    EXPECT_EQ(cell(1, 1), "05.03.04");
    logbook.setUnitSystem(UnitSystem::Imperial);
    EXPECT_EQ(cell(1, 6), "40");
    EXPECT_EQ(cell(4, 1), "");
    EXPECT_EQ(cell(1, 11), "");
}

} // namespace
