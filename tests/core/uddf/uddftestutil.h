// What the UDDF tests share: a logbook with every register, and checks of an export against the schema.
#pragma once

#include "logbook/computerinfo.h"
#include "logbook/logbook.h"
#include "uddf/uddfexport.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zorv::uddf::test {

class FakeComputers : public logbook::ComputerInfo {
public:
    bool isNitrox(std::uint8_t typeId) const override { return typeId == 244; }
    bool isO2(std::uint8_t typeId) const override { return typeId == 164; }
    std::string displayName(std::uint8_t typeId) const override { return "Ordinateur " + std::to_string(typeId); }
};
extern const FakeComputers kComputers;

// A generated logbook saved under `dir`, with certificates, trips and the three registers
// the user names, each holding texts that test the character sets and XML's special characters.
struct Fixture {
    std::filesystem::path log;
    std::vector<RegisterSource> registers;
};
Fixture makeFixture(logbook::Logbook &book, const std::filesystem::path &dir, int dives);

std::string exportText(
    const logbook::Logbook &book, const std::vector<RegisterSource> &registers, const ExportOptions &options = {});

// The schema's complaints about the document once our wrappers are taken out; empty when valid.
std::string schemaErrors(const std::string &uddf);
// What is wrong with our wrappers and with the links between elements; empty when all is right.
std::string wrapperErrors(const std::string &uddf, bool expectWrapper);
std::string linkErrors(const std::string &uddf);

} // namespace zorv::uddf::test
