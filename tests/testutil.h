// Helpers shared by the core tests: scratch folders and fixture paths.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zorv::test {

// A fresh empty folder under the system temp dir, removed when the object dies.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    std::filesystem::path operator/(const std::string &name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

std::filesystem::path fixture(const std::string &name);
std::string readFile(const std::filesystem::path &path);
void writeFile(const std::filesystem::path &path, const std::string &bytes);
std::vector<std::uint8_t> readBytes(const std::filesystem::path &path);
void writeBytes(const std::filesystem::path &path, const std::vector<std::uint8_t> &bytes);
// The names of the entries of `dir`, sorted.
std::vector<std::string> namesIn(const std::filesystem::path &dir);

} // namespace zorv::test
