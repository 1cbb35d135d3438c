#include "registers/registerfile.h"

#include "common/atomicfile.h"
#include "common/cformat.h"
#include "common/decimal.h"
#include "common/textcodec.h"
#include "common/translation.h"
#include "logbook/oemcharmap.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>
#include <system_error>

namespace zorv::registers {

namespace fs = std::filesystem;
using common::Result;
using common::Status;

std::string readText(common::ByteReader &in, std::size_t size)
{
    std::vector<std::uint8_t> buffer(size);
    in.bytes(buffer.data(), size);
    std::size_t length = 0;
    while (length + 1 < size && buffer[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char *>(buffer.data()), length);
}

void writeText(common::ByteWriter &out, std::string_view text, std::size_t size)
{
    if (size == 0)
        return;
    // A zero inside the text would end it on reading; it ends it here too.
    const std::size_t length = std::min({ text.size(), size - 1, text.find('\0') });
    out.bytes(reinterpret_cast<const std::uint8_t *>(text.data()), length);
    out.zeros(size - length);
}

float readFloat(common::ByteReader &in)
{
    return std::bit_cast<float>(in.u32());
}

void writeFloat(common::ByteWriter &out, float value)
{
    out.u32(std::bit_cast<std::uint32_t>(value));
}

common::ResultOr<RegisterBytes> readRegisterFile(const fs::path &path)
{
    RegisterBytes bytes;
    if (path.empty())
        return bytes;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return bytes;
    const std::string name = path.string();
    if (status.type() != fs::file_type::regular)
        return Result::failure(Status::BadFormat,
            common::cformat(
                common::tr("Le fichier « %s » n'est pas un fichier de données et ne peut pas être lu."), name.c_str()));
    auto data = common::readWholeFile(path);
    if (!data)
        return Result::failure(data.status() == Status::AccessDenied ? Status::AccessDenied : Status::IoError,
            common::cformat(
                common::tr("Le fichier « %s » ne peut pas être lu. Il n'a pas été chargé et ne sera pas écrasé. %s"),
                name.c_str(), data.message().c_str()));
    bytes.exists = true;
    bytes.data.assign(data->begin(), data->end());
    return bytes;
}

Result damagedFile(const fs::path &path)
{
    return Result::failure(Status::BadFormat,
        common::cformat(common::tr("Le fichier « %s » est endommagé. Il n'a pas été chargé et ne sera pas écrasé."),
            path.string().c_str()));
}

Result unknownVersion(const fs::path &path, int version)
{
    return Result::failure(Status::BadFormat,
        common::cformat(
            common::tr("Le fichier « %s » a une version inconnue (%d). Il n'a pas été chargé et ne sera pas écrasé."),
            path.string().c_str(), version));
}

Result saveRegisterFile(const fs::path &path, const std::vector<std::uint8_t> &bytes)
{
    return common::saveFileAtomically(path, bytes);
}

std::string moneyText(float value)
{
    return common::cformat("%.2f", static_cast<double>(value));
}

float parseMoney(std::string_view text)
{
    std::string copy(text);
    std::replace(copy.begin(), copy.end(), ',', '.');
    float value = 0.0f;
    if (common::cscan(copy, "%f", &value) != 1 || !std::isfinite(value))
        return 0.0f;
    return value;
}

long long parseWhole(std::string_view text, long long low, long long high)
{
    long long value = 0;
    if (common::cscan(std::string(text), "%lld", &value) != 1)
        return 0;
    return std::clamp(value, low, high);
}

common::ResultOr<long long> readWhole(std::string_view text, std::string_view label, long long low, long long high)
{
    if (text.find_first_not_of(" \t") == std::string_view::npos)
        return std::clamp(0LL, low, high);
    const std::string field(label);
    const std::string typed(text);
    const std::optional<double> number = common::parseDecimal(text);
    if (!number)
        return Result::failure(Status::Refused,
            common::cformat(common::tr("Nombre illisible dans « %s » : « %s »."), field.c_str(), typed.c_str()));
    if (*number != std::floor(*number))
        return Result::failure(Status::Refused,
            common::cformat(
                common::tr("« %s » ne prend que des nombres entiers : « %s »."), field.c_str(), typed.c_str()));
    if (*number < static_cast<double>(low) || *number > static_cast<double>(high))
        return Result::failure(Status::Refused,
            common::cformat(common::tr("Valeur impossible dans « %s » : « %s »."), field.c_str(), typed.c_str()));
    return static_cast<long long>(*number);
}

std::string toDisplay(std::string_view stored, Charset charset)
{
    return charset == Charset::Oem ? logbook::storedToDisplay(stored) : common::cp1252ToUtf8(stored);
}

std::string toStored(std::string_view utf8, Charset charset)
{
    return charset == Charset::Oem ? logbook::displayToStored(utf8) : common::utf8ToCp1252(utf8);
}

} // namespace zorv::registers
