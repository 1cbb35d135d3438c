#include "registers/addresses.h"

#include "common/cformat.h"
#include "common/translation.h"

#include <algorithm>
#include <tuple>

namespace zorv::registers {

namespace {

    constexpr std::uint16_t kVersion = 100;

} // namespace

const std::array<AddressField, kAddressFieldCount> kAddressFields = { {
    { &Address::firstName, 31, N_("Prénom") },
    { &Address::lastName, 31, N_("Nom") },
    { &Address::title, 31, N_("Titre") },
    { &Address::street, 31, N_("Rue") },
    { &Address::postalCode, 11, N_("CP") },
    { &Address::town, 31, N_("Lieu") },
    { &Address::country, 31, N_("Pays") },
    { &Address::phone1, 21, N_("Téléphone 1") },
    { &Address::phone2, 21, N_("Téléphone 2") },
    { &Address::fax, 21, N_("Fax") },
    { &Address::mobile, 21, N_("Portable") },
    { &Address::email, 51, N_("Courriel") },
    { &Address::homePage, 81, N_("Site web") },
    { &Address::remarks, 81, N_("Remarques") },
} };

const std::array<ColumnSpec, kAddressColumnCount> kAddressColumns = { { { common::StringId::ColumnName, 110 },
    { common::StringId::ColumnPlace, 235 }, { common::StringId::ColumnPhone, 100 } } };

common::ResultOr<std::vector<Address>> parseAddresses(
    std::span<const std::uint8_t> bytes, const std::filesystem::path &name)
{
    return parseRecordList<Address>(bytes, name, kVersion, kAddressSize, [](common::ByteReader &in) {
        Address address;
        for (const AddressField &field : kAddressFields)
            address.*field.member = readText(in, field.size);
        return address;
    });
}

std::vector<std::uint8_t> addressBytes(const std::vector<Address> &addresses)
{
    return recordListBytes(addresses, kVersion, kAddressSize, [](common::ByteWriter &out, const Address &address) {
        for (const AddressField &field : kAddressFields)
            writeText(out, address.*field.member, field.size);
    });
}

common::ResultOr<std::vector<Address>> loadAddresses(const std::filesystem::path &path)
{
    return loadRegister(path, parseAddresses);
}

common::Result saveAddresses(const std::filesystem::path &path, const std::vector<Address> &addresses)
{
    return saveRecordList(path, addresses, common::tr("La liste d'adresses compte trop d'adresses."), addressBytes);
}

std::string addressCell(const Address &a, int column, AddressOrder order)
{
    std::string text;
    switch (column) {
    case 0:
        text = a.lastName + ", " + a.firstName;
        break;
    case 1:
        text = order == AddressOrder::PostalCodeFirst ? a.postalCode + " " + a.town + ", " + a.street
                                                      : a.street + ", " + a.town + ", " + a.postalCode;
        break;
    case 2:
        text = a.phone1;
        break;
    default:
        break;
    }
    return toDisplay(text, Charset::Oem);
}

void sortAddresses(std::vector<Address> &addresses)
{
    std::stable_sort(addresses.begin(), addresses.end(), [](const Address &a, const Address &b) {
        return std::tie(a.lastName, a.firstName) < std::tie(b.lastName, b.firstName);
    });
}

} // namespace zorv::registers
