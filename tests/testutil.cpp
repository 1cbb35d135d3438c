#include "testutil.h"

#include "common/fileset.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace zorv::test {

TempDir::TempDir()
{
    std::string templ = (std::filesystem::temp_directory_path() / "zorv-test-XXXXXX").string();
    if (!mkdtemp(templ.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = templ;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::filesystem::path fixture(const std::string &name)
{
    return std::filesystem::path(ZORV_FIXTURES_DIR) / name;
}

std::string readFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const std::filesystem::path &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path &path)
{
    const std::string text = readFile(path);
    return { text.begin(), text.end() };
}

void writeBytes(const std::filesystem::path &path, const std::vector<std::uint8_t> &bytes)
{
    writeFile(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::string> namesIn(const std::filesystem::path &dir)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::span<const std::uint8_t> bytesOf(const std::string &text)
{
    return { reinterpret_cast<const std::uint8_t *>(text.data()), text.size() };
}

int inChild(const std::function<int()> &body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

namespace {
    int g_killAt = 0;
    int g_steps = 0;
    void countOrKill(common::FsStep)
    {
        if (++g_steps == g_killAt)
            ::raise(SIGKILL);
    }
} // namespace

int countSaveSteps(const std::function<bool()> &save)
{
    g_killAt = 0;
    g_steps = 0;
    common::setFsStepHook(countOrKill);
    const bool saved = save();
    common::setFsStepHook(nullptr);
    return saved ? g_steps : 0;
}

bool killedAtStep(int step, const std::function<bool()> &save)
{
    return inChild([&] {
        g_killAt = step;
        g_steps = 0;
        common::setFsStepHook(countOrKill);
        return save() ? 0 : 1;
    }) == -SIGKILL;
}

} // namespace zorv::test
