#include "uddf/uddfimport.h"

#include "common/atomicfile.h"
#include "common/cformat.h"
#include "common/translation.h"
#include "logbook/daynumber.h"
#include "logbook/logbookfile.h"
#include "logbook/newdive.h"
#include "logbook/oemcharmap.h"
#include "logbook/profileencoder.h"
#include "uddf/rawrecords.h"
#include "uddf/uddfreader.h"
#include "uddf/uddftext.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <libxml/xmlreader.h>
#include <limits>
#include <map>
#include <memory>
#include <set>

namespace zorv::uddf {

namespace fs = std::filesystem;
using common::Result;
using common::Status;
using logbook::DiveRecord;
using logbook::kMissing;

using namespace uddfreading;

namespace {

    // Reading no DTD, substituting no entity and fetching nothing from the network; the
    // default limits on entity expansion stay on (no XML_PARSE_HUGE).
    constexpr int kReaderOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

} // namespace

namespace uddfreading {

    void Reader::readWrapper(xmlNodePtr wrapper, PendingDive &pending)
    {
        forChildren(wrapper, [&](xmlNodePtr z) {
            if (is(z, "record")) {
                pending.rawRecord = fromHex(content(z));
            } else if (is(z, "extra")) {
                pending.rawExtra = fromHex(content(z));
            } else if (is(z, "logbook")) {
                LogHeader header;
                auto word = [&](const char *name, auto &into) {
                    const auto v = parseNumber(attribute(z, name));
                    if (v && *v >= 0 && *v <= 4294967295.0 && *v == std::floor(*v))
                        into = static_cast<std::remove_reference_t<decltype(into)>>(*v);
                };
                word("headerlong", header.headerLong);
                word("worda", header.wordA);
                word("wordb", header.wordB);
                m_header = header;
            } else if (is(z, "addtrailer")) {
                const auto bytes = fromHex(content(z));
                if (bytes && bytes->size() == kAddTrailerSize) {
                    m_trailer.emplace();
                    std::copy(bytes->begin(), bytes->end(), m_trailer->begin());
                }
            } else if (is(z, "register")) {
                static const std::map<std::string, RegisterKind> kKinds
                    = { { "certificates", RegisterKind::Certificates }, { "trips", RegisterKind::Trips },
                          { "equipment", RegisterKind::Equipment }, { "addresses", RegisterKind::Addresses },
                          { "teaching", RegisterKind::Teaching } };
                const auto kind = kKinds.find(attribute(z, "kind"));
                auto bytes = fromHex(content(z));
                // Only a bare file name: the file goes beside the logbook, never elsewhere.
                const std::string file = fs::path(attribute(z, "file")).filename().string();
                if (kind != kKinds.end() && bytes && !file.empty() && file != "." && file != "..")
                    m_out.registers.push_back({ kind->second, file, std::move(*bytes) });
            }
        });
    }

    void Reader::readBefore(xmlNodePtr node, PendingDive &p, int index)
    {
        DiveRecord &r = p.record;
        forChildren(node, [&](xmlNodePtr c) {
            if (is(c, "link")) {
                p.links.push_back(attribute(c, "ref"));
            } else if (is(c, "divenumber")) {
                if (auto v = number(c, index); v && *v >= 1 && *v <= 32767)
                    r.diveNumber = static_cast<std::int16_t>(*v);
            } else if (is(c, "datetime")) {
                const std::string text = content(c);
                if (const auto when = parseDateTime(text)) {
                    r.date = logbook::dayNumber(when->day, when->month, when->year);
                    r.entryTime = static_cast<std::int16_t>(when->minutes);
                } else {
                    note(common::cformat(common::tr("Plongée %d : date « %s » illisible."), static_cast<int>(index),
                        xmlSafe(text.substr(0, 40)).c_str()));
                }
            } else if (is(c, "airtemperature")) {
                if (auto v = number(c, index))
                    r.airTemperature = field((*v < 150.0 ? *v : *v - kKelvin) * 100.0);
            } else if (is(c, "surfaceintervalbeforedive")) {
                if (xmlNodePtr passed = child(c, "passedtime"))
                    if (auto v = number(passed, index); v && *v >= 0)
                        r.surfaceInterval = field(*v / 60.0);
            } else if (is(c, "equipmentused")) {
                forChildren(c, [&](xmlNodePtr e) {
                    if (is(e, "leadquantity")) {
                        if (auto v = number(e, index))
                            r.extra.weights = field(*v * 100.0);
                    } else if (is(e, "link")) {
                        p.links.push_back(attribute(e, "ref"));
                    }
                });
            } else if (is(c, "tankdata")) {
                // Some programs put the tanks here.
                readAfter(c, p, index);
            }
        });
    }

    // Reads a tankdata element; the first one of a dive fills the tank fields.
    void readTank(xmlNodePtr tank, PendingDive &p, const std::function<std::optional<double>(xmlNodePtr)> &number,
        const std::function<void(std::string)> &note, int index)
    {
        DiveRecord &r = p.record;
        if (r.tankVolume != kMissing || r.extra.tankPressure != kMissing) {
            note(common::cformat(common::tr("Plongée %d : plusieurs bouteilles, seule la première est reprise."),
                static_cast<int>(index)));
            return;
        }
        std::optional<double> begin;
        std::optional<double> end;
        forChildren(tank, [&](xmlNodePtr c) {
            if (is(c, "link") && p.mix.empty()) {
                p.mix = attribute(c, "ref");
            } else if (is(c, "tankvolume")) {
                if (auto v = number(c); v && *v > 0) {
                    // A volume of a cubic metre or more is no scuba tank: it was written in litres.
                    if (*v >= 1.0)
                        note(common::cformat(
                            common::tr("Plongée %d : volume de bouteille lu en litres."), static_cast<int>(index)));
                    r.tankVolume = field((*v >= 1.0 ? *v : *v * 1000.0) * 100.0);
                }
            } else if (is(c, "tankpressurebegin")) {
                begin = number(c);
            } else if (is(c, "tankpressureend")) {
                end = number(c);
            }
        });
        // Pascal; a value under 1000 can only be bar.
        auto bar = [](double v) { return v < 1000.0 ? v : v / 1e5; };
        if (begin) {
            r.extra.tankPressure = field(bar(*begin) * 100.0);
            if (end)
                r.airUsed = field((bar(*begin) - bar(*end)) * 100.0);
        }
    }

    void Reader::readAfter(xmlNodePtr node, PendingDive &p, int index)
    {
        if (is(node, "tankdata")) {
            readTank(
                node, p, [&](xmlNodePtr c) { return number(c, index); }, [&](std::string t) { note(std::move(t)); },
                index);
            return;
        }
        DiveRecord &r = p.record;
        forChildren(node, [&](xmlNodePtr c) {
            if (is(c, "lowesttemperature")) {
                if (auto v = number(c, index))
                    r.minWaterTemperature = field((*v < 150.0 ? *v : *v - kKelvin) * 100.0);
            } else if (is(c, "greatestdepth")) {
                if (auto v = number(c, index); v && *v >= 0)
                    r.maxDepth = field(*v * 100.0);
            } else if (is(c, "visibility")) {
                if (auto v = number(c, index); v && *v >= 0)
                    r.extra.visibility = field(*v * 100.0);
            } else if (is(c, "diveduration")) {
                if (auto v = number(c, index); v && *v >= 0)
                    r.duration = field(*v / 60.0);
            } else if (is(c, "averagedepth")) {
                if (auto v = number(c, index); v && *v > 0 && *v < 300) {
                    // Kept as the .add keeps it, whole centimetres, so the dive equals itself once saved.
                    r.extra.avgDepthCm = static_cast<std::int16_t>(std::round(*v * 10000.0) / 100.0);
                    r.avgDepth = static_cast<float>(r.extra.avgDepthCm * 0.01);
                }
            } else if (is(c, "notes")) {
                std::string text;
                forChildren(c, [&](xmlNodePtr para) {
                    if (is(para, "para")) {
                        if (!text.empty())
                            text += ' ';
                        text += content(para);
                    }
                });
                const std::string stored = logbook::displayToStored(xmlSafe(text));
                logbook::setFixedText(r.comment, stored, logbook::kCommentLength);
                if (stored.size() > logbook::kCommentLength)
                    logbook::setFixedText(r.extra.commentMore, std::string_view(stored).substr(logbook::kCommentLength),
                        logbook::kCommentMoreLength);
            }
        });
    }

    void Reader::readDive(xmlNodePtr dive)
    {
        const int index = static_cast<int>(m_dives.size()) + 1;
        PendingDive p;
        logbook::applyNewDiveDefaults(p.record, m_options.defaults);
        p.record.computerType = m_options.computerType;
        bool hasDepth = false;
        bool hasDuration = false;
        bool hasTemperature = false;
        bool hasPressure = false;
        xmlNodePtr samples = nullptr;
        forChildren(dive, [&](xmlNodePtr c) {
            if (is(c, "applicationdata")) {
                if (xmlNodePtr wrapper = child(c, "zorv"))
                    readWrapper(wrapper, p);
            } else if (is(c, "informationbeforedive")) {
                readBefore(c, p, index);
            } else if (is(c, "tankdata")) {
                readAfter(c, p, index);
            } else if (is(c, "samples")) {
                samples = c;
            } else if (is(c, "informationafterdive")) {
                readAfter(c, p, index);
                hasDepth = child(c, "greatestdepth") && p.record.maxDepth != kMissing;
                hasDuration = child(c, "diveduration") && p.record.duration != kMissing;
                hasTemperature = p.record.minWaterTemperature != kMissing;
            }
        });
        hasPressure = p.record.extra.tankPressure != kMissing;
        if (samples)
            readProfile(samples, p, index, hasDepth, hasDuration, hasTemperature, hasPressure);
        // The dive as UDDF gives it is kept even when our own bytes came along: they are read
        // with this machine's computer catalogue, and a dive they do not make falls back on it.
        if (p.record.date == logbook::kNoDate && !p.rawRecord)
            note(common::cformat(common::tr("Plongée %d : sans date."), static_cast<int>(index)));
        m_dives.push_back(std::move(p));
    }

    void Reader::resolve()
    {
        // Our own records, read back through the logbook reader itself.
        std::vector<std::vector<std::uint8_t>> records;
        std::vector<std::vector<std::uint8_t>> extras;
        bool whole = m_header.has_value() && !m_dives.empty();
        for (PendingDive &p : m_dives) {
            const bool raw = p.rawRecord && logRecordLength(*p.rawRecord) == p.rawRecord->size();
            whole = whole && raw && p.rawExtra && p.rawExtra->size() == kExtraSize;
            if (!raw)
                p.rawRecord.reset();
        }
        std::optional<logbook::Logbook> own;
        std::vector<bool> fromOwn(m_dives.size(), false);
        for (std::size_t i = 0; i < m_dives.size(); ++i) {
            if (!m_dives[i].rawRecord)
                continue;
            fromOwn[i] = true;
            records.push_back(std::move(*m_dives[i].rawRecord));
            extras.push_back(m_dives[i].rawExtra && m_dives[i].rawExtra->size() == kExtraSize
                    ? std::move(*m_dives[i].rawExtra)
                    : std::vector<std::uint8_t>(kExtraSize, 0));
            m_dives[i].rawRecord.reset();
            m_dives[i].rawExtra.reset();
        }
        if (!records.empty() && records.size() <= static_cast<std::size_t>(logbook::Logbook::kMaxDives)) {
            ExactImages images;
            images.log = buildLogImage(m_header.value_or(LogHeader {}), records);
            images.add = buildAddImage(extras, m_trailer.value_or(std::array<std::uint8_t, kAddTrailerSize> {}));
            records = {};
            extras = {};
            own.emplace();
            own->setComputerInfo(m_options.computers);
            if (!logbook::LogbookFile::load(*own, images.log, images.add, {})) {
                own.reset();
                note(common::tr("Les données propres à Zorv sont illisibles ; les plongées sont lues depuis UDDF."));
                whole = false;
            } else if (whole && m_trailer) {
                m_out.exact = std::move(images);
            }
        }

        std::size_t next = 0;
        for (std::size_t i = 0; i < m_dives.size(); ++i) {
            PendingDive &p = m_dives[i];
            if (fromOwn[i] && own) {
                m_out.dives.push_back(own->dives()[next++]);
                continue;
            }
            DiveRecord &r = p.record;
            std::string partners;
            for (const std::string &ref : p.links) {
                if (const auto site = m_sites.find(ref); site != m_sites.end()) {
                    logbook::setFixedText(r.site, logbook::displayToStored(site->second.name), logbook::kSiteLength);
                    logbook::setFixedText(
                        r.place, logbook::displayToStored(site->second.location), logbook::kPlaceLength);
                } else if (const auto person = m_people.find(ref); person != m_people.end()) {
                    if (!person->second.empty())
                        partners += (partners.empty() ? "" : ", ") + person->second;
                } else if (!m_otherIds.contains(ref) && !m_mixes.contains(ref)) {
                    note(common::cformat(common::tr("Plongée %d : le lien « %s » ne mène nulle part."),
                        static_cast<int>(i + 1), xmlSafe(ref.substr(0, 40)).c_str()));
                }
            }
            if (!partners.empty())
                logbook::setFixedText(r.partners, logbook::displayToStored(partners), logbook::kPartnersLength);
            if (!p.mix.empty()) {
                const auto mix = m_mixes.find(p.mix);
                if (mix == m_mixes.end())
                    note(common::cformat(common::tr("Plongée %d : le mélange « %s » ne mène nulle part."),
                        static_cast<int>(i + 1), xmlSafe(p.mix.substr(0, 40)).c_str()));
                else if (mix->second.o2 > 0.215
                    || (mix->second.o2 == 0.0 && mix->second.name.find("itrox") != std::string::npos))
                    r.diveType |= logbook::dive_type::kNitrox;
            }
            m_out.dives.push_back(std::move(r));
        }
        m_dives = {};
        if (m_moreNotes > 0)
            m_out.notes.push_back(
                common::cformat(common::tr("… et %d autres remarques."), static_cast<int>(m_moreNotes)));
    }

    std::string personName(xmlNodePtr person)
    {
        xmlNodePtr personal = child(person, "personal");
        if (!personal)
            return {};
        std::string name = xmlSafe(content(child(personal, "firstname")));
        const std::string last = xmlSafe(content(child(personal, "lastname")));
        if (!last.empty())
            name += (name.empty() ? "" : " ") + last;
        return name;
    }

    Result Reader::run(xmlTextReaderPtr reader, const std::string &name)
    {
        auto refused = [&name](const char *why) {
            return Result::failure(Status::BadFormat, common::cformat(why, name.c_str()));
        };
        if (!reader)
            return refused(common::tr("« %s » ne peut pas être lu."));
        bool sawRoot = false;
        int rc = xmlTextReaderRead(reader);
        while (rc == 1) {
            if (xmlTextReaderNodeType(reader) != XML_READER_TYPE_ELEMENT) {
                rc = xmlTextReaderRead(reader);
                continue;
            }
            const std::string_view local = reinterpret_cast<const char *>(xmlTextReaderConstLocalName(reader));
            if (!sawRoot) {
                if (local != "uddf")
                    return refused(common::tr("« %s » n'est pas un fichier UDDF."));
                sawRoot = true;
                xmlChar *version = xmlTextReaderGetAttribute(reader, reinterpret_cast<const xmlChar *>("version"));
                const std::string v = version ? reinterpret_cast<const char *>(version) : "";
                xmlFree(version);
                if (!v.empty() && !v.starts_with("3."))
                    note(common::cformat(common::tr("Version UDDF « %s » : lue comme une version 3."),
                        xmlSafe(v.substr(0, 20)).c_str()));
                rc = xmlTextReaderRead(reader);
                continue;
            }
            const bool wanted = local == "dive" || local == "site" || local == "buddy" || local == "owner"
                || local == "mix" || local == "divebase";
            if (!wanted) {
                rc = xmlTextReaderRead(reader);
                continue;
            }
            xmlNodePtr node = xmlTextReaderExpand(reader);
            if (!node)
                break; // the document breaks off inside it
            const std::string id = attribute(node, "id");
            if (local == "dive") {
                readDive(node);
            } else if (local == "site") {
                m_sites[id] = { xmlSafe(content(child(node, "name"))),
                    xmlSafe(content(child(child(node, "geography") ? child(node, "geography") : node, "location"))) };
            } else if (local == "buddy") {
                m_people[id] = personName(node);
            } else if (local == "mix") {
                Mix mix { xmlSafe(content(child(node, "name"))), 0.0 };
                if (xmlNodePtr o2 = child(node, "o2"))
                    mix.o2 = parseNumber(content(o2)).value_or(0.0);
                m_mixes[id] = mix;
            } else {
                m_otherIds.insert(id);
                if (local == "owner")
                    if (xmlNodePtr equipment = child(node, "equipment"))
                        forChildren(equipment, [&](xmlNodePtr piece) { m_otherIds.insert(attribute(piece, "id")); });
            }
            rc = xmlTextReaderNext(reader);
        }
        if (rc != 0 || !sawRoot)
            return refused(sawRoot ? common::tr("« %s » est coupé ou n'est pas du XML valide.")
                                   : common::tr("« %s » n'est pas un fichier UDDF."));
        resolve();
        return {};
    }

} // namespace uddfreading

namespace {

    struct ReaderDeleter {
        void operator()(xmlTextReaderPtr reader) const { xmlFreeTextReader(reader); }
    };

} // namespace

common::ResultOr<UddfContent> readUddf(
    std::span<const std::uint8_t> bytes, const ImportOptions &options, const std::string &name)
{
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return Result::failure(Status::Refused, common::cformat(common::tr("« %s » est trop grand."), name.c_str()));
    UddfContent content;
    Reader reader(options, content);
    std::unique_ptr<xmlTextReader, ReaderDeleter> xml(xmlReaderForMemory(reinterpret_cast<const char *>(bytes.data()),
        static_cast<int>(bytes.size()), nullptr, nullptr, kReaderOptions));
    if (Result r = reader.run(xml.get(), name); !r)
        return r;
    return content;
}

common::ResultOr<UddfContent> readUddfFile(const fs::path &path, const ImportOptions &options)
{
    const std::string name = path.filename().string();
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return Result::failure(
            Status::NotFound, common::cformat(common::tr("« %s » n'est pas un fichier."), name.c_str()));
    UddfContent content;
    Reader reader(options, content);
    std::unique_ptr<xmlTextReader, ReaderDeleter> xml(xmlReaderForFile(path.c_str(), nullptr, kReaderOptions));
    if (Result r = reader.run(xml.get(), name); !r)
        return r;
    return content;
}

} // namespace zorv::uddf
