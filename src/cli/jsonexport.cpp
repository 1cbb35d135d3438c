#include "jsonexport.h"

#include "common/cformat.h"
#include "common/textcodec.h"
#include "logbook/oemcharmap.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>
#include <string_view>

namespace zorv::cli {

namespace {

    using logbook::DiveRecord;

    void writeString(std::ostream &out, std::string_view utf8)
    {
        out << '"';
        for (char c : utf8) {
            const auto b = static_cast<unsigned char>(c);
            switch (c) {
            case '"':
                out << "\\\"";
                break;
            case '\\':
                out << "\\\\";
                break;
            case '\n':
                out << "\\n";
                break;
            case '\r':
                out << "\\r";
                break;
            case '\t':
                out << "\\t";
                break;
            default:
                if (b < 0x20) {
                    static const char *hex = "0123456789abcdef";
                    out << "\\u00" << hex[b >> 4] << hex[b & 15];
                } else {
                    out << c;
                }
            }
        }
        out << '"';
    }

    // The shortest decimal text that reads back to the same 32-bit value.
    void writeFloat(std::ostream &out, float value)
    {
        char buffer[32];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        out.write(buffer, result.ptr - buffer);
    }

    void writeHex(std::ostream &out, const std::uint8_t *data, std::size_t size)
    {
        static const char *hex = "0123456789abcdef";
        out << '"';
        for (std::size_t i = 0; i < size; ++i)
            out << hex[data[i] >> 4] << hex[data[i] & 15];
        out << '"';
    }

    template <std::size_t N> void writeText(std::ostream &out, const std::array<char, N> &field)
    {
        writeString(out, logbook::storedToDisplay(logbook::fixedText(field)));
    }

    class Object {
    public:
        Object(std::ostream &out, const char *indent)
            : m_out(out)
            , m_indent(indent)
        {
            m_out << "{";
        }
        ~Object() { m_out << "\n" << std::string_view(m_indent).substr(2) << "}"; }
        Object(const Object &) = delete;
        Object &operator=(const Object &) = delete;

        std::ostream &key(const char *name)
        {
            m_out << (m_first ? "\n" : ",\n") << m_indent << '"' << name << "\": ";
            m_first = false;
            return m_out;
        }

    private:
        std::ostream &m_out;
        const char *m_indent;
        bool m_first = true;
    };

    std::size_t rawProfileSize(const DiveRecord &d, const logbook::Logbook &book)
    {
        if (d.profileLength == 0)
            return 0;
        const bool extra = book.computerInfo() && book.computerInfo()->carriesExtraWord(d.computerType);
        const std::size_t fixed = extra ? 19 : 17;
        return d.profileLength > fixed
            ? std::min<std::size_t>(d.profileLength - fixed, static_cast<std::size_t>(logbook::kProfileBytesCapacity))
            : 0;
    }

    void writeDive(std::ostream &out, const DiveRecord &d, const logbook::Logbook &book)
    {
        Object o(out, "      ");
        o.key("recordMark") << d.recordMark;
        o.key("date") << d.date;
        o.key("entryTime") << d.entryTime;
        writeText(o.key("place"), d.place);
        writeText(o.key("site"), d.site);
        o.key("altitudeClass") << int(d.altitudeClass);
        o.key("surfaceInterval") << d.surfaceInterval;
        o.key("weather") << int(d.weather);
        o.key("airTemperature") << d.airTemperature;
        o.key("suit") << int(d.suit);
        o.key("tankVolume") << d.tankVolume;
        o.key("maxDepth") << d.maxDepth;
        o.key("duration") << d.duration;
        o.key("minWaterTemperature") << d.minWaterTemperature;
        o.key("airUsed") << d.airUsed;
        o.key("diveType") << d.diveType;
        o.key("activities") << d.activities;
        writeText(o.key("otherActivities"), d.otherActivities);
        writeText(o.key("partners"), d.partners);
        writeString(o.key("comment"),
            logbook::storedToDisplay(
                std::string(logbook::fixedText(d.comment)) + std::string(logbook::fixedText(d.extra.commentMore))));
        o.key("warnings") << d.warnings;
        o.key("diveNumber") << d.diveNumber;
        o.key("computerLong") << d.computerLong;
        o.key("computerType") << int(d.computerType);
        o.key("computerFlags") << int(d.computerFlags);
        writeHex(o.key("computerReserved"), d.computerReserved.data(), d.computerReserved.size());
        o.key("profileLength") << d.profileLength;
        o.key("profileFirstByte") << int(d.profileFirstByte);
        {
            auto &s = o.key("profileHeader");
            s << '[';
            for (std::size_t i = 0; i < d.profileHeader.size(); ++i)
                s << (i ? ", " : "") << d.profileHeader[i];
            s << ']';
        }
        {
            const std::vector<std::uint8_t> raw = logbook::paddedProfileBytes(d, rawProfileSize(d, book));
            writeHex(o.key("profileBytes"), raw.data(), raw.size());
        }
        o.key("profileExtra") << d.profileExtra;
        {
            auto &s = o.key("samples");
            s << '[';
            const std::span<const logbook::ProfileSample> samples = logbook::profileSamples(d);
            for (std::size_t i = 0; i < samples.size(); ++i) {
                const auto &sample = samples[i];
                s << (i ? ", [" : "[");
                writeFloat(s, sample.depth);
                for (auto m : sample.markers)
                    s << ", " << int(m);
                s << ']';
            }
            s << ']';
        }
        o.key("sampleCount") << d.sampleCount;
        writeFloat(o.key("profileMaxDepth"), d.profileMaxDepth);
        writeFloat(o.key("profileAvgDepth"), d.profileAvgDepth);
        writeFloat(o.key("avgDepth"), d.avgDepth);
        writeFloat(o.key("airConsumption"), d.airConsumption);
        {
            auto &s = o.key("extraBlock");
            Object e(s, "        ");
            e.key("weights") << d.extra.weights;
            e.key("visibility") << d.extra.visibility;
            e.key("avgDepthCm") << d.extra.avgDepthCm;
            e.key("tankMaterial") << d.extra.tankMaterial;
            e.key("extraFlags") << d.extra.extraFlags;
            e.key("tankPressure") << d.extra.tankPressure;
            writeString(e.key("model"), logbook::storedToDisplay(logbook::fixedText(d.extra.model)));
            std::array<std::uint8_t, logbook::ExtraBlock::kReservedSize> reserved {};
            std::copy_n(d.extra.reserved.begin(), std::min(d.extra.reserved.size(), reserved.size()), reserved.begin());
            writeHex(e.key("reserved"), reserved.data(), reserved.size());
        }
    }

} // namespace

std::string jsonString(std::string_view utf8Text)
{
    std::string out = "\"";
    for (const char c : utf8Text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += { '\\', c };
        else if (b < 0x20)
            out += common::cformat("\\u%04x", unsigned { b });
        else
            out += c;
    }
    return out + "\"";
}

void writeJson(std::ostream &out, const logbook::Logbook &book)
{
    {
        Object root(out, "  ");
        writeString(root.key("path"), common::escapeInvalidUtf8(book.path()));
        root.key("formatVersion") << book.formatVersion();
        root.key("headerLong") << book.headerLong();
        root.key("fileDiveCount") << book.diveCount();
        root.key("headerWordA") << book.headerWordA();
        root.key("headerWordB") << book.headerWordB();
        auto &s = root.key("dives");
        s << '[';
        for (int i = 1; i <= book.diveCount(); ++i) {
            s << (i > 1 ? ",\n    " : "\n    ");
            writeDive(s, *book.dive(i), book);
        }
        s << (book.diveCount() ? "\n  ]" : "]");
    }
    out << "\n";
}

} // namespace zorv::cli
