#include "transfer/computertypeform.h"
#include "transfer/transferstatus.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace zorv::transfer;
namespace computers = zorv::computers;

namespace {

int indexOfId(const ComputerTypeList &list, std::uint8_t id)
{
    for (int i = 0; i < list.count(); ++i)
        if (list.entries()[static_cast<std::size_t>(i)].typeId == id)
            return i;
    return -1;
}

computers::ComputerType userType(std::uint8_t id, const char *name, computers::Gas gas = computers::Gas::Air)
{
    computers::ComputerType entry;
    entry.typeId = id;
    entry.name = name;
    entry.gas = gas;
    return entry;
}

// Two user types, 100 "A" and 101 "B", the second selected.
ComputerTypeList twoUserTypes()
{
    computers::ComputerCatalogue catalogue;
    catalogue.add(userType(100, "A"), computers::SortNow::No);
    catalogue.add(userType(101, "B"), computers::SortNow::No);
    ComputerTypeList list(catalogue);
    list.select(1);
    return list;
}

} // namespace

TEST(ComputerTypeRows, ColumnsShowIdGasAndFlagsInTheListsWords)
{
    computers::ComputerType entry = userType(244, "Aladin Air X Nitrox", computers::Gas::Nitrox);
    entry.airIntegrated = true;
    const auto row = computerTypeRow(entry);
    EXPECT_EQ(row[0], "Aladin Air X Nitrox");
    EXPECT_EQ(row[1], "244");
    EXPECT_EQ(row[2], "NITROX");
    EXPECT_EQ(row[3], "OUI");
    EXPECT_EQ(row[4], "NON");
    EXPECT_EQ(computerTypeRow(userType(7, "x", computers::Gas::Oxygen))[2], "O2");
}

TEST(ComputerTypeRows, KeptWidthOnlyReplacesTheDefaultWhenWiderThanTen)
{
    EXPECT_EQ(computerTypeColumnWidth(0, -1), 218);
    EXPECT_EQ(computerTypeColumnWidth(1, 10), 57);
    EXPECT_EQ(computerTypeColumnWidth(1, 11), 11);
    EXPECT_EQ(computerTypeColumnWidth(4, 300), 300);
}

TEST(ComputerTypeListRules, EditAndDeleteFollowTheSelectedRow)
{
    ComputerTypeList list(computers::ComputerCatalogue::withBuiltInTypes());
    list.select(indexOfId(list, 0));
    EXPECT_FALSE(list.canEdit()) << "a hand entry has nothing to describe";
    EXPECT_FALSE(list.canDelete());
    list.select(indexOfId(list, 177));
    EXPECT_TRUE(list.canEdit());
    EXPECT_FALSE(list.canDelete()) << "built-in rows stay";
    list.select(-1);
    EXPECT_FALSE(list.canEdit());
    EXPECT_FALSE(list.canDelete());
    list.select(list.count());
    EXPECT_EQ(list.selection(), -1);

    ComputerTypeList empty { computers::ComputerCatalogue {} };
    EXPECT_EQ(empty.selection(), -1);
    EXPECT_FALSE(empty.canEdit());
    EXPECT_FALSE(empty.removeSelected());
}

TEST(ComputerTypeListRules, DeleteKeepsTheSelectionOnARow)
{
    ComputerTypeList list = twoUserTypes();
    ASSERT_TRUE(list.removeSelected());
    EXPECT_EQ(list.selection(), 0) << "the last row ran past the end";
    ASSERT_TRUE(list.removeSelected());
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.selection(), -1);
    EXPECT_TRUE(list.modified());
}

TEST(ComputerTypeListRules, NewRefusesBuiltInSerialIdsAndMergesKnownIds)
{
    computers::ComputerCatalogue catalogue = computers::ComputerCatalogue::withBuiltInTypes();
    ComputerTypeList list(catalogue);
    const int before = list.count();
    EXPECT_FALSE(list.addNew(computers::ComputerType {})) << "an untouched form keeps id 0";
    EXPECT_FALSE(list.addNew(userType(28, "Mine")));
    EXPECT_FALSE(list.modified());

    ASSERT_TRUE(list.addNew(userType(200, "Zeta")));
    EXPECT_EQ(list.count(), before + 1);
    EXPECT_EQ(list.entries()[static_cast<std::size_t>(list.selection())].typeId, 200);

    // A user type on an import id becomes the built-in row, which stays built in.
    ASSERT_TRUE(list.addNew(userType(177, "Ma montre")));
    EXPECT_EQ(list.count(), before + 1);
    list.commit(catalogue);
    EXPECT_EQ(catalogue.name(177), "Ma montre");
    EXPECT_EQ(catalogue.entryAt(catalogue.count() - 1).name, "Zeta");
    const auto entries = catalogue.entries();
    EXPECT_TRUE(std::ranges::find(entries, 177, &computers::ComputerType::typeId)->builtIn);
}

TEST(ComputerTypeListRules, EditOfABuiltInRowOnlyTakesItsName)
{
    computers::ComputerCatalogue catalogue = computers::ComputerCatalogue::withBuiltInTypes();
    ComputerTypeList list(catalogue);
    list.select(indexOfId(list, 28));
    computers::ComputerType edited = list.entries()[static_cast<std::size_t>(list.selection())];
    EXPECT_FALSE(list.applyEdit(edited)) << "nothing changed";
    edited.name = "Air alt";
    edited.gas = computers::Gas::Oxygen;
    edited.typeId = 99;
    ASSERT_TRUE(list.applyEdit(edited));
    list.commit(catalogue);
    EXPECT_EQ(catalogue.name(28), "Air alt");
    EXPECT_TRUE(catalogue.isAir(28));
    EXPECT_FALSE(catalogue.contains(99));
}

TEST(ComputerTypeListRules, EditedIdJoinsTheRowThatHasItAndSkipsSerialIds)
{
    ComputerTypeList list = twoUserTypes();
    computers::ComputerType edited = list.entries()[1];
    edited.typeId = 30;
    edited.name = "B2";
    ASSERT_TRUE(list.applyEdit(edited));
    EXPECT_EQ(list.entries()[1].typeId, 101) << "30 belongs to a computer we read ourselves";

    edited = list.entries()[1];
    edited.typeId = 100;
    ASSERT_TRUE(list.applyEdit(edited));
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.entries()[0].name, "B2");
    EXPECT_EQ(list.selection(), 0);
}

TEST(ComputerTypeFormRules, IdOutside1To255IsNotTaken)
{
    ComputerTypeForm form(userType(150, "X"));
    form.setTypeIdText("42");
    EXPECT_EQ(form.typeId(), 42);
    for (const char *bad : { "0", "256", "-3", "abc", "", "12x" }) {
        form.setTypeIdText(bad);
        EXPECT_EQ(form.typeId(), 150) << bad;
    }
    form.setTypeIdText(" 255 ");
    EXPECT_EQ(form.result().typeId, 255);
}

TEST(ComputerTypeFormRules, ImportOnlyForImportIdsOfUserTypes)
{
    ComputerTypeForm form { computers::ComputerType {} };
    EXPECT_FALSE(form.importEditable());
    form.setTypeIdText("178");
    EXPECT_TRUE(form.importEditable());
    form.imported = true;
    EXPECT_TRUE(form.result().imported);
    // Ticked, then the id moved away from the import ids: the tick does not stay.
    form.setTypeIdText("90");
    EXPECT_FALSE(form.result().imported);

    computers::ComputerType builtIn = userType(179, "Mares Guardian");
    builtIn.builtIn = true;
    builtIn.imported = true;
    ComputerTypeForm locked(builtIn);
    EXPECT_FALSE(locked.importEditable());
    EXPECT_FALSE(locked.typeIdEditable());
    locked.imported = false;
    locked.gas = computers::Gas::Nitrox;
    locked.name = "Guardian";
    const computers::ComputerType result = locked.result();
    EXPECT_TRUE(result.imported);
    EXPECT_EQ(result.gas, computers::Gas::Air);
    EXPECT_EQ(result.name, "Guardian");
}

TEST(TransferStatusFields, ConnectionStateAndBatteryColours)
{
    const computers::ComputerCatalogue catalogue = computers::ComputerCatalogue::withBuiltInTypes();
    Receiver receiver(0);
    TransferStatus status = transferStatus(receiver, 3, std::nullopt, catalogue);
    EXPECT_EQ(status.connection, (StatusField { "non connecté", Tint::WhiteOnRed }));
    EXPECT_EQ(status.comPort, (StatusField { "3", Tint::WhiteOnBlack }));
    EXPECT_EQ(status.portError.text, "");
    EXPECT_EQ(status.state, (StatusField { "En attente du transfert", Tint::Default }));

    receiver.tick(500);
    EXPECT_EQ(transferStatus(receiver, 3, std::nullopt, catalogue).connection.tint, Tint::WhiteOnDarkRed);

    receiver.receive(0x55, 600);
    receiver.setPortStatus(1);
    status = transferStatus(receiver, 3, std::nullopt, catalogue);
    EXPECT_EQ(status.connection, (StatusField { "connecté", Tint::WhiteOnGreen }));
    EXPECT_EQ(status.portError, (StatusField { "Erreur de communication", Tint::WhiteOnRed }));
    EXPECT_EQ(status.state.text, "Transfert en cours");

    receiver.tick(3000);
    status = transferStatus(receiver, 3, std::nullopt, catalogue);
    EXPECT_NE(status.state.text.find("Erreur de transmission"), std::string::npos);

    status = transferStatus(receiver, 3, std::uint8_t { 68 }, catalogue);
    EXPECT_EQ(status.state, (StatusField { "Aladin Air X/Z", Tint::RedOnBlack }));

    EXPECT_EQ(batteryTint(-1), Tint::Default);
    EXPECT_EQ(batteryTint(19), Tint::WhiteOnRed);
    EXPECT_EQ(batteryTint(20), Tint::WhiteOnGreen);
}
