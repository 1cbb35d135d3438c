#include "arguments.h"

#include "common/textcodec.h"

#include <charconv>
#include <string_view>

namespace zorv::cli {

namespace {

    constexpr char16_t kEscapeBase = 0xDC00;

    bool isEscapedByte(char16_t unit)
    {
        return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
    }

    void appendUtf8(std::string &out, char32_t cp)
    {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    QString decode(std::string_view bytes)
    {
        QString out;
        out.reserve(static_cast<qsizetype>(bytes.size()));
        while (!bytes.empty()) {
            const common::Utf8Sequence sequence = common::firstUtf8Sequence(bytes);
            if (sequence.length == 0) {
                out += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes.front())));
                bytes.remove_prefix(1);
                continue;
            }
            const char32_t cp = sequence.codePoint;
            out += QString::fromUcs4(&cp, 1);
            bytes.remove_prefix(sequence.length);
        }
        return out;
    }

} // namespace

QStringList decodeArguments(int argc, char **argv)
{
    QStringList out;
    for (int i = 0; i < argc; ++i)
        out += decode(argv[i]);
    return out;
}

std::string localPath(const QString &path)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(path.size()));
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < path.size() && path[i + 1].isLowSurrogate()) {
            appendUtf8(out, QChar::surrogateToUcs4(unit, path[i + 1].unicode()));
            ++i;
        } else if (isEscapedByte(unit)) {
            out += static_cast<char>(unit - kEscapeBase);
        } else {
            appendUtf8(out, QChar::isSurrogate(unit) ? char32_t { 0xFFFD } : char32_t { unit });
        }
    }
    return out;
}

std::string shownPath(const QString &path)
{
    return common::escapeInvalidUtf8(localPath(path));
}

std::optional<long long> wholeNumber(const QString &text, long long low, long long high)
{
    const std::string s = text.toStdString();
    long long value = 0;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), value);
    if (result.ec != std::errc() || result.ptr != s.data() + s.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace zorv::cli
