#include "registers/certificates.h"

#include "common/cformat.h"
#include "common/translation.h"
#include "logbook/fieldcatalogue.h"

#include <algorithm>
#include <tuple>

namespace zorv::registers {

using namespace certificates;

namespace {

    CertificateRegister readLegacy(common::ByteReader &in)
    {
        CertificateRegister reg;
        reg.fromLegacyLayout = true;
        for (int i = 0; i < kLegacyEntries; ++i) {
            Certificate c;
            c.description = readText(in, kLegacyDescription);
            c.date = in.u32();
            c.cost = readFloat(in);
            if (!c.description.empty() || c.date != 0)
                reg.certificates.push_back(std::move(c));
        }
        reg.diverName = readText(in, kName);
        reg.club = readText(in, kName);
        return reg;
    }

} // namespace

const std::array<ColumnSpec, kCertificateColumnCount> kCertificateColumns
    = { { { common::StringId::ColumnCategory, 76 }, { common::StringId::ColumnDate, 70 },
        { common::StringId::ColumnDescription, 230 } } };

common::ResultOr<CertificateRegister> parseCertificates(
    std::span<const std::uint8_t> bytes, const std::filesystem::path &name)
{
    CertificateRegister reg;
    if (bytes.empty())
        return reg;
    common::ByteReader in(bytes);
    const std::uint16_t version = in.u16();
    if (in.failed())
        return damagedFile(name);
    if (version != kVersion) {
        if (in.remaining() == kLegacyBlock)
            return readLegacy(in);
        return unknownVersion(name, version);
    }
    const std::uint16_t count = in.u16();
    reg.diverName = readText(in, kName);
    reg.club = readText(in, kName);
    if (in.failed() || in.remaining() < std::size_t { count } * kRecordSize)
        return damagedFile(name);
    reg.certificates.resize(count);
    for (Certificate &c : reg.certificates) {
        c.category = readText(in, kCategory);
        c.description = readText(in, kDescription);
        c.date = in.u32();
        c.instructor = readText(in, kInstructor);
        c.cost = readFloat(in);
        c.remarks = readText(in, kRemarks);
    }
    return reg;
}

std::vector<std::uint8_t> certificateBytes(const CertificateRegister &reg)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(126 + reg.certificates.size() * kRecordSize);
    common::ByteWriter out(bytes);
    out.u16(kVersion);
    out.u16(static_cast<std::uint16_t>(reg.certificates.size()));
    writeText(out, reg.diverName, kName);
    writeText(out, reg.club, kName);
    for (const Certificate &c : reg.certificates) {
        writeText(out, c.category, kCategory);
        writeText(out, c.description, kDescription);
        out.u32(c.date);
        writeText(out, c.instructor, kInstructor);
        writeFloat(out, c.cost);
        writeText(out, c.remarks, kRemarks);
    }
    return bytes;
}

common::ResultOr<CertificateRegister> loadCertificates(const std::filesystem::path &path)
{
    return loadRegister(path, parseCertificates);
}

DiverLines diverLines(const std::filesystem::path &infPath)
{
    if (infPath.empty())
        return {};
    const auto reg = loadCertificates(infPath);
    if (!reg)
        return {};
    return { toDisplay(reg->diverName, Charset::Oem), toDisplay(reg->club, Charset::Oem) };
}

std::filesystem::path legacyBackupPath(const std::filesystem::path &path)
{
    std::filesystem::path backup = path;
    backup += ".bak";
    return backup;
}

common::Result saveCertificates(const std::filesystem::path &path, CertificateRegister &reg)
{
    if (reg.certificates.size() > 0xFFFF)
        return common::Result::failure(common::Status::Refused, common::tr("Le carnet compte trop de brevets."));
    if (reg.fromLegacyLayout) {
        // The old file is copied, not renamed: until the new one is in place the
        // register stays readable under its own name.
        auto old = readRegisterFile(path);
        if (!old)
            return old.result();
        if (old->exists) {
            if (auto kept = saveRegisterFile(legacyBackupPath(path), old->data); !kept)
                return kept;
        }
    }
    auto saved = saveRegisterFile(path, certificateBytes(reg));
    if (saved)
        reg.fromLegacyLayout = false;
    return saved;
}

std::string certificateCell(const Certificate &c, int column)
{
    switch (column) {
    case 0:
        return toDisplay(c.category, Charset::Oem);
    case 1:
        return logbook::formatDate(c.date, logbook::DateForm::Medium);
    case 2:
        return toDisplay(c.description, Charset::Oem);
    default:
        return {};
    }
}

float certificateCostTotal(const std::vector<Certificate> &certificates)
{
    float total = 0.0f;
    for (const Certificate &c : certificates)
        total += c.cost;
    return total;
}

std::string certificateCostText(const std::vector<Certificate> &certificates, const std::string &currency)
{
    return common::cformat("%.2f %s", static_cast<double>(certificateCostTotal(certificates)), currency.c_str());
}

void sortCertificates(std::vector<Certificate> &certificates)
{
    const auto key = [](const Certificate &c) {
        return std::tuple(logbook::isShownAsDate(c.date) ? c.date : UINT32_MAX, std::string_view(c.category),
            std::string_view(c.description));
    };
    std::stable_sort(certificates.begin(), certificates.end(),
        [&](const Certificate &a, const Certificate &b) { return key(a) < key(b); });
}

} // namespace zorv::registers
