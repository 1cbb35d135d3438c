#include "settings/inifile.h"

#include "common/fileset.h"
#include "common/systemerror.h"
#include "common/textcodec.h"
#include "common/translation.h"

#include <cstdint>
#include <unordered_set>

namespace zorv::settings {

namespace {

    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    constexpr std::size_t npos = std::string::npos;
    constexpr std::size_t kMaxSettingsFileSize = common::kMaxSettingsFileSize;

    std::string_view trim(std::string_view text)
    {
        const auto first = text.find_first_not_of(" \t\r");
        if (first == npos)
            return {};
        const auto last = text.find_last_not_of(" \t\r");
        return text.substr(first, last - first + 1);
    }

    // A value or name that spans lines would turn into new lines of the file.
    std::string oneLine(std::string_view text)
    {
        std::string out(text);
        for (char &c : out)
            if (c == '\r' || c == '\n')
                c = ' ';
        return out;
    }

} // namespace

std::string foldName(std::string_view utf8)
{
    std::string out(utf8);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 0x20);
            continue;
        }
        if (i + 1 >= out.size())
            break;
        const auto next = static_cast<unsigned char>(out[i + 1]);
        if (c == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97) {
            // U+00C0..U+00DE without the multiplication sign.
            out[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        } else if (c == 0xC5 && (next == 0x92 || next == 0xA0 || next == 0xBD)) {
            // The capitals Windows-1252 has outside Latin-1: OE, S caron, Z caron.
            out[i + 1] = static_cast<char>(next + 1);
            ++i;
        } else if (c == 0xC5 && next == 0xB8) {
            // Y diaeresis folds to U+00FF, which is two bytes long as well.
            out[i] = static_cast<char>(0xC3);
            out[i + 1] = static_cast<char>(0xBF);
            ++i;
        }
    }
    return out;
}

IniFile::IniFile(std::filesystem::path path)
{
    // A missing file is the normal first run: the empty profile is what is wanted.
    static_cast<void>(load(path));
}

common::Result IniFile::load(const std::filesystem::path &path)
{
    m_path = path;
    // Only a regular file of sane size: a FIFO would hang the program here, a link
    // to /dev/zero would eat the memory. Anything else leaves the defaults.
    const common::ResultOr<std::string> bytes = common::readRegularFile(path, kMaxSettingsFileSize);
    parse(bytes ? *bytes : std::string());
    return bytes.result();
}

void IniFile::parse(std::string_view bytes)
{
    std::string text;
    if (bytes.starts_with(kUtf8Bom)) {
        m_encoding = Encoding::Utf8;
        text = bytes.substr(kUtf8Bom.size());
    } else {
        m_encoding = Encoding::Windows1252;
        text = common::cp1252ToUtf8(bytes);
    }

    const auto firstBreak = text.find('\n');
    m_eol = (firstBreak != npos && firstBreak > 0 && text[firstBreak - 1] == '\r') ? "\r\n" : "\n";

    m_lines.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        // Only the file's own line break is taken off; any further carriage return
        // belongs to the line and is written back.
        if (m_eol == "\r\n" && !line.empty() && line.back() == '\r')
            line.pop_back();
        m_lines.push_back(parseLine(std::move(line)));
        start = end + 1;
    }
    m_modified = false;
}

IniFile::Line IniFile::parseLine(std::string text)
{
    Line line;
    const std::string_view body = trim(text);
    if (body.starts_with('[')) {
        // Like the Windows reader, a section name runs to the last bracket, or
        // to the end of the line when the bracket is missing.
        auto close = body.rfind(']');
        if (close == npos || close == 0)
            close = body.size();
        line.kind = Kind::Section;
        line.name = trim(body.substr(1, close - 1));
    } else if (!body.starts_with(';')) {
        const auto eq = body.find('=');
        if (eq != npos) {
            const auto key = trim(body.substr(0, eq));
            if (!key.empty()) {
                line.kind = Kind::Key;
                line.name = key;
                line.value = trim(body.substr(eq + 1));
            }
        }
    }
    if (line.kind != Kind::Other)
        line.folded = foldName(line.name);
    line.text = std::move(text);
    return line;
}

std::string IniFile::serialise() const
{
    std::string text;
    for (const Line &line : m_lines) {
        text += line.text;
        text += m_eol;
    }
    if (m_encoding == Encoding::Windows1252) {
        std::string bytes = common::utf8ToCp1252(text);
        if (common::cp1252ToUtf8(bytes) == text)
            return bytes;
    }
    return std::string(kUtf8Bom) + text;
}

common::Result IniFile::save()
{
    if (!m_modified)
        return {};
    // A file that could not be read for what it is is the user's to mend; the
    // defaults used meanwhile must not replace it.
    if (!common::checkRegularFile(m_path, kMaxSettingsFileSize))
        return {};
    if (m_path.empty())
        return common::Result::failure(common::Status::NotFound, common::tr("Le fichier des réglages n'a pas de nom."));
    const auto dir = m_path.parent_path();
    if (!dir.empty()) {
        // The per-user settings folder may not exist yet on a first run.
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        if (ec)
            return common::Result::failure(common::Status::IoError,
                common::fileErrorText(common::tr("Impossible de créer le dossier"), dir, ec.value()));
    }
    const std::string bytes = serialise();
    common::Result result = common::saveFileAtomically(m_path, bytes);
    if (result) {
        m_modified = false;
        if (bytes.starts_with(kUtf8Bom))
            m_encoding = Encoding::Utf8;
    }
    return result;
}

std::size_t IniFile::findSection(std::string_view folded) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].kind == Kind::Section && m_lines[i].folded == folded)
            return i;
    return npos;
}

std::size_t IniFile::sectionEnd(std::size_t sectionLine) const
{
    std::size_t i = sectionLine + 1;
    while (i < m_lines.size() && m_lines[i].kind != Kind::Section)
        ++i;
    return i;
}

std::size_t IniFile::findKey(std::string_view section, std::string_view key) const
{
    const auto sec = findSection(foldName(trim(section)));
    if (sec == npos)
        return npos;
    const std::string folded = foldName(trim(key));
    const auto end = sectionEnd(sec);
    for (std::size_t i = sec + 1; i < end; ++i)
        if (m_lines[i].kind == Kind::Key && m_lines[i].folded == folded)
            return i;
    return npos;
}

bool IniFile::hasSection(std::string_view section) const
{
    return findSection(foldName(trim(section))) != npos;
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const
{
    return findKey(section, key) != npos;
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    const auto i = findKey(section, key);
    return i == npos ? std::string(defaultValue) : m_lines[i].value;
}

int IniFile::readInt(std::string_view section, std::string_view key, int defaultValue) const
{
    const auto i = findKey(section, key);
    if (i == npos)
        return defaultValue;
    const std::string &value = m_lines[i].value;
    std::size_t pos = 0;
    bool negative = false;
    if (pos < value.size() && (value[pos] == '-' || value[pos] == '+'))
        negative = value[pos++] == '-';
    if (pos >= value.size() || value[pos] < '0' || value[pos] > '9')
        return defaultValue;
    std::uint32_t result = 0;
    for (; pos < value.size() && value[pos] >= '0' && value[pos] <= '9'; ++pos)
        result = result * 10u + static_cast<std::uint32_t>(value[pos] - '0');
    if (negative)
        result = 0u - result;
    return static_cast<int>(result);
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string sectionName = oneLine(trim(section));
    const std::string keyName = oneLine(trim(key));
    const std::string newValue = oneLine(trim(value));

    if (const auto i = findKey(sectionName, keyName); i != npos) {
        Line &line = m_lines[i];
        if (line.value == newValue)
            return;
        line.text = line.name + "=" + newValue;
        line.value = newValue;
        m_modified = true;
        return;
    }

    const auto sec = findSection(foldName(sectionName));
    if (sec == npos) {
        if (!m_lines.empty() && !trim(m_lines.back().text).empty())
            m_lines.push_back(parseLine({}));
        m_lines.push_back(parseLine("[" + sectionName + "]"));
        m_lines.push_back(parseLine(keyName + "=" + newValue));
    } else {
        // After the section's last key, so that blank lines and comments in
        // front of the next section stay with that section.
        auto insertAt = sec + 1;
        for (auto i = sec + 1; i < sectionEnd(sec); ++i)
            if (m_lines[i].kind == Kind::Key)
                insertAt = i + 1;
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), parseLine(keyName + "=" + newValue));
    }
    m_modified = true;
}

void IniFile::writeInt(std::string_view section, std::string_view key, int value)
{
    writeString(section, key, std::to_string(value));
}

bool IniFile::deleteKey(std::string_view section, std::string_view key)
{
    bool removed = false;
    for (auto i = findKey(section, key); i != npos; i = findKey(section, key)) {
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
        removed = true;
    }
    m_modified = m_modified || removed;
    return removed;
}

bool IniFile::deleteSection(std::string_view section)
{
    const std::string folded = foldName(trim(section));
    bool removed = false;
    for (auto sec = findSection(folded); sec != npos; sec = findSection(folded)) {
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(sec),
            m_lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd(sec)));
        removed = true;
    }
    m_modified = m_modified || removed;
    return removed;
}

void IniFile::clear()
{
    if (!m_lines.empty())
        m_modified = true;
    m_lines.clear();
}

std::vector<std::string> IniFile::sectionNames() const
{
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const Line &line : m_lines)
        if (line.kind == Kind::Section && seen.insert(line.folded).second)
            names.push_back(line.name);
    return names;
}

std::vector<std::string> IniFile::keyNames(std::string_view section) const
{
    std::vector<std::string> names;
    const auto sec = findSection(foldName(trim(section)));
    if (sec == npos)
        return names;
    std::unordered_set<std::string> seen;
    const auto end = sectionEnd(sec);
    for (auto i = sec + 1; i < end; ++i)
        if (m_lines[i].kind == Kind::Key && seen.insert(m_lines[i].folded).second)
            names.push_back(m_lines[i].name);
    return names;
}

} // namespace zorv::settings
