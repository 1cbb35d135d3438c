// Helpers shared by the core tests: scratch folders and fixture paths.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
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
// The bytes of a text, as the file layer takes them.
std::span<const std::uint8_t> bytesOf(const std::string &text);

// Runs `body` in a child process: its exit status, or minus the signal that ended it.
int inChild(const std::function<int()> &body);
// How many disk steps `save` takes (it runs here, counted through the file layer's hook).
int countSaveSteps(const std::function<bool()> &save);
// Runs `save` in a child that is killed at its `step`-th disk step; true when it died there.
bool killedAtStep(int step, const std::function<bool()> &save);

} // namespace zorv::test
