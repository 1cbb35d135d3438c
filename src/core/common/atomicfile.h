// The one way this program writes a file: all or nothing, never a half-written target.
#pragma once

#include "common/result.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

namespace zorv::common {

// Writes data to a temporary file in the target's folder, checks every write,
// fsyncs it, renames it over the target and fsyncs the folder. On any failure
// the target stays byte for byte as it was and the temporary file is removed.
// A failed fsync fails the save: after one, the kernel may have dropped the
// dirty pages, so retrying could report success for data that never landed.
Result saveFileAtomically(const std::filesystem::path &target, std::span<const std::uint8_t> data);

// Convenience for text and byte strings.
Result saveFileAtomically(const std::filesystem::path &target, const std::string &data);

// Temporary files of ours start with this prefix; a crash can leave one behind.
inline constexpr const char *kTempPrefix = ".zorv-tmp-";

// Removes temporary files of ours in the folder of `target` that no live process holds.
void removeStrayTempFiles(const std::filesystem::path &target);

// One read(2), again when a signal cut it short; -1 with errno set on failure. Every
// read loop of the file layer goes through it, so none takes a failed read for the end.
long readRetrying(int fd, void *into, std::size_t size);

// Reads a whole file; a folder or a device that fails to read is refused like a missing file.
ResultOr<std::string> readWholeFile(const std::filesystem::path &path);

// Reads a file in pieces of up to 64 KB, handing each to `consume` in order, for
// files too large to hold whole beside what is read from them. Fails as readWholeFile.
Result readFileInPieces(
    const std::filesystem::path &path, const std::function<void(std::span<const std::uint8_t>)> &consume);

// The same, stopping early once `consume` returns false: what follows is not wanted.
Result readFileInPiecesWhile(
    const std::filesystem::path &path, const std::function<bool(std::span<const std::uint8_t>)> &consume);

} // namespace zorv::common
