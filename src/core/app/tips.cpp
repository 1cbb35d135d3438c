#include "app/tips.h"

#include "common/atomicfile.h"
#include "common/cformat.h"
#include "common/strings.h"
#include "common/textcodec.h"

#include <chrono>
#include <system_error>

namespace zorv::app {

using common::StringId;

namespace {

    // Lines were read into a buffer of this size; a longer line is cut.
    constexpr std::size_t kMaxTipLength = 999;

    bool isTipLine(std::string_view line)
    {
        return !line.empty() && line.front() != ' ' && line.front() != '\t' && line.front() != ';';
    }

    bool isValidUtf8(std::string_view text)
    {
        std::size_t i = 0;
        while (i < text.size()) {
            const auto lead = static_cast<unsigned char>(text[i]);
            std::size_t length = lead < 0x80 ? 1
                : (lead >> 5) == 0x6         ? 2
                : (lead >> 4) == 0xE         ? 3
                : (lead >> 3) == 0x1E        ? 4
                                             : 0;
            if (length == 0 || i + length > text.size())
                return false;
            for (std::size_t k = 1; k < length; ++k)
                if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                    return false;
            i += length;
        }
        return true;
    }

} // namespace

TipReader::TipReader(std::string bytes, const std::string &timeStamp, settings::TipState &state)
    : m_bytes(std::move(bytes))
{
    if (state.timeStamp != timeStamp) {
        state.timeStamp = timeStamp;
        state.filePos = 0;
    }
    // A position outside the file can only come from an edited settings file;
    // starting at the top is better than refusing to show any tip.
    const bool inside = state.filePos >= 0 && static_cast<std::size_t>(state.filePos) <= m_bytes.size();
    m_position = inside ? state.filePos : 0;
}

std::optional<std::string> TipReader::next()
{
    // Two passes at most: the rest of the file from the position, then the whole
    // file from the top. A file without a single tip must not loop for ever.
    std::size_t pos = static_cast<std::size_t>(m_position);
    std::size_t scanned = 0;
    const std::size_t size = m_bytes.size();
    while (scanned <= size) {
        if (pos >= size) {
            pos = 0;
            if (size == 0)
                break;
        }
        std::size_t end = m_bytes.find('\n', pos);
        if (end == std::string::npos)
            end = size;
        std::string_view line(m_bytes.data() + pos, end - pos);
        scanned += end - pos + 1;
        pos = end < size ? end + 1 : size;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!isTipLine(line))
            continue;
        m_position = static_cast<int>(pos);
        line = line.substr(0, kMaxTipLength);
        return isValidUtf8(line) ? std::string(line) : common::cp1252ToUtf8(line);
    }
    return std::nullopt;
}

std::filesystem::path tipsFileFor(const std::filesystem::path &programDir, const std::string &language)
{
    std::error_code error;
    for (const std::filesystem::path &folder : { programDir, programDir.parent_path() / "share" / "zorv" }) {
        if (!language.empty() && language != "fr") {
            const std::filesystem::path translated = folder / ("tips." + language + ".txt");
            if (std::filesystem::is_regular_file(translated, error))
                return translated;
        }
        if (std::filesystem::is_regular_file(folder / kTipsFileName, error))
            return folder / kTipsFileName;
    }
    return programDir / kTipsFileName;
}

std::string fileTimeStamp(const std::filesystem::path &file)
{
    std::error_code error;
    const auto time = std::filesystem::last_write_time(file, error);
    if (error)
        return {};
    const auto ticks = std::chrono::duration_cast<std::chrono::seconds>(time.time_since_epoch()).count();
    return common::cformat("%lld", static_cast<long long>(ticks));
}

TipOfTheDay readTipOfTheDay(const std::filesystem::path &tipsFile, settings::TipState &state)
{
    common::ResultOr<std::string> bytes = common::readWholeFile(tipsFile);
    if (!bytes)
        return { std::string(common::str(StringId::TipsFileMissing)), false };
    TipReader reader(std::move(bytes).value(), fileTimeStamp(tipsFile), state);
    std::optional<std::string> tip = reader.next();
    if (!tip)
        return { std::string(common::str(StringId::TipsFileUnreadable)), false };
    state.filePos = reader.position();
    return { *tip, true };
}

} // namespace zorv::app
