// The UDDF reader's state and the small XML helpers its units share.
#pragma once

#include "common/cformat.h"
#include "common/result.h"
#include "common/translation.h"
#include "logbook/diverecord.h"
#include "logbook/profileencoder.h"
#include "uddf/rawrecords.h"
#include "uddf/uddfimport.h"
#include "uddf/uddftext.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <libxml/xmlreader.h>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::uddf {

namespace uddfreading {

    using common::Result;
    using common::Status;
    using logbook::DiveRecord;
    using logbook::kMissing;

    inline constexpr double kKelvin = 273.15;
    // Points of a profile a record takes: the encoder adds the first sample and a few at the end.
    inline constexpr std::size_t kMaxProfilePoints = logbook::kMaxSamples - 6;
    // Notes beyond this many are counted, not listed: a broken file must not flood the window.
    inline constexpr std::size_t kMaxNotes = 50;

    inline std::string_view localName(xmlNodePtr node)
    {
        return reinterpret_cast<const char *>(node->name);
    }

    inline bool is(xmlNodePtr node, std::string_view name)
    {
        return node->type == XML_ELEMENT_NODE && localName(node) == name;
    }

    // Element children, whatever their namespace: other programs' files often have none.
    template <class F> void forChildren(xmlNodePtr node, F f)
    {
        for (xmlNodePtr child = node->children; child; child = child->next)
            if (child->type == XML_ELEMENT_NODE)
                f(child);
    }

    inline xmlNodePtr child(xmlNodePtr node, std::string_view name)
    {
        for (xmlNodePtr c = node->children; c; c = c->next)
            if (is(c, name))
                return c;
        return nullptr;
    }

    inline std::string content(xmlNodePtr node)
    {
        if (!node)
            return {};
        xmlChar *text = xmlNodeGetContent(node);
        std::string s = text ? reinterpret_cast<const char *>(text) : "";
        xmlFree(text);
        return s;
    }

    inline std::string attribute(xmlNodePtr node, const char *name)
    {
        xmlChar *value = xmlGetProp(node, reinterpret_cast<const xmlChar *>(name));
        std::string s = value ? reinterpret_cast<const char *>(value) : "";
        xmlFree(value);
        return s;
    }

    inline std::int16_t field(double value)
    {
        return static_cast<std::int16_t>(std::clamp(std::round(value), -32768.0, 32766.0));
    }

    struct Site {
        std::string name;
        std::string location;
    };

    struct Mix {
        std::string name;
        double o2 = 0.0;
    };

    // A dive as read, before the links to sites, buddies and mixes can be followed.
    struct PendingDive {
        DiveRecord record;
        std::vector<std::string> links;
        std::string mix;
        std::optional<std::vector<std::uint8_t>> rawRecord;
        std::optional<std::vector<std::uint8_t>> rawExtra;
    };

    class Reader {
    public:
        Reader(const ImportOptions &options, UddfContent &out)
            : m_options(options)
            , m_out(out)
        {
        }

        Result run(xmlTextReaderPtr reader, const std::string &name);

    private:
        void note(std::string text)
        {
            if (m_out.notes.size() < kMaxNotes)
                m_out.notes.push_back(std::move(text));
            else
                ++m_moreNotes;
        }
        std::optional<double> number(xmlNodePtr node, int dive)
        {
            const std::string text = content(node);
            auto value = parseNumber(text);
            if (!value)
                note(common::cformat(common::tr("Plongée %d : « %s » n'est pas un nombre (%s), champ ignoré."),
                    static_cast<int>(dive), xmlSafe(text.substr(0, 40)).c_str(), std::string(localName(node)).c_str()));
            return value;
        }
        void readDive(xmlNodePtr dive);
        void readWrapper(xmlNodePtr wrapper, PendingDive &pending);
        void readBefore(xmlNodePtr node, PendingDive &pending, int index);
        void readAfter(xmlNodePtr node, PendingDive &pending, int index);
        void readProfile(xmlNodePtr samples, PendingDive &pending, int index, bool hasDepth, bool hasDuration,
            bool hasTemperature, bool hasPressure);
        void resolve();

        const ImportOptions &m_options;
        UddfContent &m_out;
        std::vector<PendingDive> m_dives;
        std::map<std::string, Site> m_sites;
        std::map<std::string, std::string> m_people; // buddy id -> name
        std::set<std::string> m_otherIds; // owners, their equipment: known targets that fill no field
        std::map<std::string, Mix> m_mixes;
        std::optional<LogHeader> m_header;
        std::optional<std::array<std::uint8_t, kAddTrailerSize>> m_trailer;
        std::size_t m_moreNotes = 0;
    };

} // namespace uddfreading

} // namespace zorv::uddf
