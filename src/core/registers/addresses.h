// The address register: dive partners, clubs and shops, in a file of the user's choice.
#pragma once

#include "registers/registerfile.h"

#include <array>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace zorv::registers {

// Texts are stored in the DOS set of the logbook.
struct Address {
    std::string firstName; // 31
    std::string lastName; // 31
    std::string title; // 31
    std::string street; // 31
    std::string postalCode; // 11
    std::string town; // 31
    std::string country; // 31
    std::string phone1; // 21
    std::string phone2; // 21
    std::string fax; // 21
    std::string mobile; // 21
    std::string email; // 51
    std::string homePage; // 81
    std::string remarks; // 81

    bool operator==(const Address &) const = default;
};

inline constexpr int kAddressFieldCount = 14;
// The fields in file order, with their buffer sizes: what the dialog and the file walk through.
struct AddressField {
    std::string Address::*member;
    std::size_t size;
    const char *label;
};
extern const std::array<AddressField, kAddressFieldCount> kAddressFields;

inline constexpr std::size_t kAddressSize = 494;

/* Address file, little-endian: u16 version 100, u16 number of records N,
   N records of 494 bytes (the fields above, each a zero-terminated text in its buffer). */
common::ResultOr<std::vector<Address>> parseAddresses(
    std::span<const std::uint8_t> bytes, const std::filesystem::path &name);
std::vector<std::uint8_t> addressBytes(const std::vector<Address> &addresses);
common::ResultOr<std::vector<Address>> loadAddresses(const std::filesystem::path &path);
common::Result saveAddresses(const std::filesystem::path &path, const std::vector<Address> &addresses);

inline constexpr int kAddressColumnCount = 3;
extern const std::array<ColumnSpec, kAddressColumnCount> kAddressColumns;

// The second column reads "CP Lieu, Rue" in French; English puts the street first.
enum class AddressOrder {
    PostalCodeFirst,
    StreetFirst,
};
std::string addressCell(const Address &address, int column, AddressOrder order = AddressOrder::PostalCodeFirst);

// By last name (bytes compared unsigned), then first name.
void sortAddresses(std::vector<Address> &addresses);

} // namespace zorv::registers
