// Fuzzes the commit-record decoder, which reads whatever a folder holds under a record's
// name: any bytes decode or are refused without a crash, a decoded record is made of
// names without NUL bytes and encodes back to the very bytes read, and the check of
// its names against a logbook's set never trusts a name outside that set.
#include "common/fileset.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

void putU32(std::string &out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace zorv;
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const auto pairs = common::decodeCommitRecord(bytes);
    if (!pairs)
        return 0;
    static const common::LogbookPaths set = common::LogbookPaths::resolve("/nonexistent-zorv-fuzz/book/x.log");
    std::string again = "ZORVCMT1";
    putU32(again, static_cast<std::uint32_t>(pairs->size()));
    for (const common::StoredRename &pair : *pairs) {
        for (const std::string *name : { &pair.temp, &pair.target }) {
            if (name->empty() || name->find('\0') != std::string::npos)
                std::abort();
            putU32(again, static_cast<std::uint32_t>(name->size()));
            again += *name;
        }
        const std::filesystem::path target = pair.target.find('/') == std::string::npos
            ? set.folder() / pair.target
            : std::filesystem::path(pair.target);
        if (set.mayCommitTo(target)) {
            const std::string name = target.lexically_normal().filename().string();
            if (name != "x.log" && name != "x.add" && name != "x.log.bak" && name != "x.add.bak")
                std::abort();
        }
        (void)common::isSaveTemporaryName(pair.temp);
    }
    if (bytes.substr(0, again.size()) != again || bytes.size() != again.size() + 4)
        std::abort();
    return 0;
}
