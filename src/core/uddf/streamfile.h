// A file written as a stream and put in place whole: for exports too large to build in memory first.
#pragma once

#include "common/result.h"

#include <filesystem>
#include <string_view>

namespace zorv::uddf {

// Writes into a locked temporary file beside the target; commit() syncs it and renames
// it over the target, and a StreamFile dropped without commit() removes it, so the
// target is either the old file or the whole new one. The same rules as every save:
// a target the user may not write is refused, and its permission bits are kept.
class StreamFile {
public:
    explicit StreamFile(const std::filesystem::path &target);
    ~StreamFile();
    StreamFile(const StreamFile &) = delete;
    StreamFile &operator=(const StreamFile &) = delete;

    // Whether the temporary file could be made; the reason when not.
    const common::Result &status() const { return m_status; }
    bool write(std::string_view bytes);
    common::Result commit();

private:
    std::filesystem::path m_target;
    std::filesystem::path m_temp;
    int m_fd = -1;
    common::Result m_status;
};

} // namespace zorv::uddf
