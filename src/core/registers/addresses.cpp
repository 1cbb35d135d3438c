#include "registers/addresses.h"

#include "common/cformat.h"

#include <algorithm>
#include <tuple>

namespace zorv::registers {

namespace {

    constexpr std::uint16_t kVersion = 100;

} // namespace

const std::array<AddressField, kAddressFieldCount> kAddressFields = { {
    { &Address::firstName, 31, "Prénom" },
    { &Address::lastName, 31, "Nom" },
    { &Address::title, 31, "Titre" },
    { &Address::street, 31, "Rue" },
    { &Address::postalCode, 11, "CP" },
    { &Address::town, 31, "Lieu" },
    { &Address::country, 31, "Pays" },
    { &Address::phone1, 21, "Téléphone 1" },
    { &Address::phone2, 21, "Téléphone 2" },
    { &Address::fax, 21, "Fax" },
    { &Address::mobile, 21, "Portable" },
    { &Address::email, 51, "e:mail" },
    { &Address::homePage, 81, "Homepage" },
    { &Address::remarks, 81, "Remarques" },
} };

const std::array<ColumnSpec, kAddressColumnCount> kAddressColumns = { { { common::StringId::ColumnName, 110 },
    { common::StringId::ColumnPlace, 235 }, { common::StringId::ColumnPhone, 100 } } };

common::ResultOr<std::vector<Address>> parseAddresses(
    std::span<const std::uint8_t> bytes, const std::filesystem::path &name)
{
    std::vector<Address> addresses;
    if (bytes.empty())
        return addresses;
    common::ByteReader in(bytes);
    const std::uint16_t version = in.u16();
    const std::uint16_t count = in.u16();
    if (in.failed())
        return damagedFile(name);
    if (version != kVersion)
        return unknownVersion(name, version);
    if (in.remaining() < std::size_t { count } * kAddressSize)
        return damagedFile(name);
    addresses.resize(count);
    for (Address &address : addresses)
        for (const AddressField &field : kAddressFields)
            address.*field.member = readText(in, field.size);
    return addresses;
}

std::vector<std::uint8_t> addressBytes(const std::vector<Address> &addresses)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(4 + addresses.size() * kAddressSize);
    common::ByteWriter out(bytes);
    out.u16(kVersion);
    out.u16(static_cast<std::uint16_t>(addresses.size()));
    for (const Address &address : addresses)
        for (const AddressField &field : kAddressFields)
            writeText(out, address.*field.member, field.size);
    return bytes;
}

common::ResultOr<std::vector<Address>> loadAddresses(const std::filesystem::path &path)
{
    auto bytes = readRegisterFile(path);
    if (!bytes)
        return bytes.result();
    return parseAddresses(bytes->data, path);
}

common::Result saveAddresses(const std::filesystem::path &path, const std::vector<Address> &addresses)
{
    if (addresses.size() > 0xFFFF)
        return common::Result::failure(common::Status::Refused, "La liste d'adresses compte trop d'adresses.");
    return saveRegisterFile(path, addressBytes(addresses));
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
