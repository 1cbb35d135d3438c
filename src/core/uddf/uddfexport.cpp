#include "uddf/uddfexport.h"

#include "logbook/daynumber.h"
#include "logbook/logbookfile.h"
#include "logbook/oemcharmap.h"
#include "registers/addresses.h"
#include "registers/certificates.h"
#include "registers/equipment.h"
#include "registers/trips.h"
#include "uddf/rawrecords.h"
#include "uddf/streamfile.h"
#include "uddf/uddftext.h"

#include <algorithm>
#include <array>
#include <libxml/xmlwriter.h>
#include <map>
#include <set>

namespace zorv::uddf {

namespace fs = std::filesystem;
using common::Result;
using common::Status;
using logbook::DiveRecord;
using logbook::kMissing;

common::ResultOr<std::optional<RegisterSource>> readRegisterSource(RegisterKind kind, const fs::path &path)
{
    auto bytes = registers::readRegisterFile(path);
    if (!bytes)
        return bytes.result();
    if (!bytes->exists)
        return std::optional<RegisterSource>();
    return std::optional<RegisterSource>(RegisterSource { kind, path.filename().string(), std::move(bytes->data) });
}

namespace {

    constexpr double kKelvin = 273.15;

    const char *kindName(RegisterKind kind)
    {
        switch (kind) {
        case RegisterKind::Certificates:
            return "certificates";
        case RegisterKind::Trips:
            return "trips";
        case RegisterKind::Equipment:
            return "equipment";
        case RegisterKind::Addresses:
            return "addresses";
        case RegisterKind::Teaching:
            break;
        }
        return "teaching";
    }

    const xmlChar *x(const char *text)
    {
        return reinterpret_cast<const xmlChar *>(text);
    }

    // xmlTextWriter over a sink; the first failure is latched and stops the writing.
    class XmlOut {
    public:
        explicit XmlOut(const std::function<bool(std::string_view)> &sink)
            : m_sink(sink)
        {
            xmlOutputBufferPtr buffer = xmlOutputBufferCreateIO(&XmlOut::write, nullptr, this, nullptr);
            m_writer = buffer ? xmlNewTextWriter(buffer) : nullptr;
            if (m_writer) {
                xmlTextWriterSetIndent(m_writer, 1);
                xmlTextWriterSetIndentString(m_writer, x(" "));
            }
            m_failed = m_writer == nullptr || xmlTextWriterStartDocument(m_writer, "1.0", "UTF-8", nullptr) < 0;
        }
        ~XmlOut()
        {
            if (m_writer)
                xmlFreeTextWriter(m_writer);
        }
        XmlOut(const XmlOut &) = delete;
        XmlOut &operator=(const XmlOut &) = delete;

        void start(const char *name) { check(xmlTextWriterStartElement(m_writer, x(name))); }
        void end() { check(xmlTextWriterEndElement(m_writer)); }
        void attribute(const char *name, const std::string &value)
        {
            check(xmlTextWriterWriteAttribute(m_writer, x(name), x(value.c_str())));
        }
        void element(const char *name, const std::string &value)
        {
            check(xmlTextWriterWriteElement(m_writer, x(name), x(value.c_str())));
        }
        void empty(const char *name)
        {
            start(name);
            end();
        }
        void link(const std::string &ref)
        {
            start("link");
            attribute("ref", ref);
            end();
        }
        void hexText(std::span<const std::uint8_t> bytes)
        {
            m_hex.clear();
            appendHex(m_hex, bytes);
            m_hex.push_back('\0');
            check(xmlTextWriterWriteString(m_writer, x(m_hex.data())));
        }
        void hexElement(const char *name, std::span<const std::uint8_t> bytes)
        {
            start(name);
            hexText(bytes);
            end();
        }
        bool finish()
        {
            check(xmlTextWriterEndDocument(m_writer));
            check(xmlTextWriterFlush(m_writer));
            return !m_failed;
        }
        bool failed() const { return m_failed; }

    private:
        void check(int rc)
        {
            if (rc < 0)
                m_failed = true;
        }
        static int write(void *context, const char *buffer, int length)
        {
            auto *self = static_cast<XmlOut *>(context);
            if (self->m_sinkFailed || !self->m_sink({ buffer, static_cast<std::size_t>(length) })) {
                self->m_sinkFailed = true;
                return -1;
            }
            return length;
        }

        const std::function<bool(std::string_view)> &m_sink;
        xmlTextWriterPtr m_writer = nullptr;
        bool m_failed = false;
        bool m_sinkFailed = false;
        std::vector<char> m_hex;
    };

    std::string display(std::string_view stored)
    {
        return xmlSafe(logbook::storedToDisplay(stored));
    }
    std::string registerText(const std::string &stored, registers::Charset charset)
    {
        return xmlSafe(registers::toDisplay(stored, charset));
    }

    std::string dateText(std::uint32_t day, int minutes = 0)
    {
        const logbook::CalendarDate date = logbook::calendarDate(logbook::isShownAsDate(day) ? day : 0);
        return dateTimeText(std::max(date.year, 1600), std::clamp(date.month, 1, 12), std::clamp(date.day, 1, 31),
            std::clamp(minutes, 0, 24 * 60 - 1));
    }

    // The partner names of a dive as the partner statistics count them.
    std::vector<std::string> partnerNames(const DiveRecord &d)
    {
        std::vector<std::string> names;
        const std::string_view text = logbook::fixedText(d.partners);
        std::size_t start = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i] != ',' && text[i] != ';' && text[i] != '+' && text[i] != '&')
                continue;
            std::string_view name = text.substr(start, i - start);
            while (!name.empty() && name.front() == ' ')
                name.remove_prefix(1);
            while (!name.empty() && name.back() == ' ')
                name.remove_suffix(1);
            if (!name.empty())
                names.push_back(display(name));
            start = i + 1;
        }
        return names;
    }

    // A one-word name is a first name with an empty last name: the schema wants both.
    void personal(XmlOut &out, const std::string &first, const std::string &last)
    {
        out.start("personal");
        out.element("firstname", first);
        out.element("lastname", last);
        out.end();
    }

    std::pair<std::string, std::string> splitName(const std::string &name)
    {
        const std::size_t space = name.find(' ');
        if (space == std::string::npos)
            return { name, {} };
        return { name.substr(0, space), name.substr(space + 1) };
    }

    // What the elements outside our wrapper are built from, gathered before writing.
    struct Plan {
        std::vector<int> positions; // 1-based, of the dives written
        std::map<std::pair<std::string, std::string>, std::string> sites; // (place, site) stored -> id
        std::map<std::string, std::string> buddies; // display name -> id
        std::set<std::uint8_t> computers;
        bool nitrox = false;
        std::optional<registers::CertificateRegister> certificates;
        std::vector<registers::Trip> trips;
        std::vector<registers::EquipmentItem> equipment;
        std::vector<registers::Address> addresses;
    };

    std::string siteKeyId(const Plan &plan, const DiveRecord &d)
    {
        const auto it
            = plan.sites.find({ std::string(logbook::fixedText(d.place)), std::string(logbook::fixedText(d.site)) });
        return it == plan.sites.end() ? std::string() : it->second;
    }

    const char *equipmentElement(std::uint8_t category)
    {
        static constexpr std::array<const char *, registers::kEquipmentCategoryCount> kElements = { "regulator", "tank",
            "buoyancycontroldevice", "divecomputer", "suit", "variouspieces", "mask", "variouspieces" };
        return kElements[std::min<std::size_t>(category, kElements.size() - 1)];
    }

    // The order the schema gives the kinds of equipment.
    constexpr std::array<const char *, 7> kEquipmentOrder
        = { "buoyancycontroldevice", "divecomputer", "mask", "regulator", "suit", "tank", "variouspieces" };

    void writeOwner(XmlOut &out, const Plan &plan, const logbook::Logbook &book)
    {
        out.start("owner");
        out.attribute("id", "owner");
        std::string name;
        std::string club;
        if (plan.certificates) {
            name = registerText(plan.certificates->diverName, registers::Charset::Oem);
            club = registerText(plan.certificates->club, registers::Charset::Oem);
        }
        const auto [first, last] = splitName(name);
        out.start("personal");
        out.element("firstname", first);
        out.element("lastname", last);
        if (!club.empty()) {
            out.start("membership");
            out.attribute("organisation", club);
            out.end();
        }
        out.end();

        if (!plan.equipment.empty() || !plan.computers.empty()) {
            out.start("equipment");
            for (const char *kind : kEquipmentOrder) {
                for (std::size_t i = 0; i < plan.equipment.size(); ++i) {
                    const registers::EquipmentItem &item = plan.equipment[i];
                    if (std::string_view(equipmentElement(item.category)) != kind)
                        continue;
                    auto text = [](const std::string &s) { return registerText(s, registers::Charset::Windows); };
                    out.start(kind);
                    out.attribute("id", "equipment-" + std::to_string(i + 1));
                    out.element("name", text(item.article));
                    if (!item.part1.empty())
                        out.element("model", text(item.part1));
                    if (!item.serialNumber.empty())
                        out.element("serialnumber", text(item.serialNumber));
                    if (item.price > 0.0f) {
                        out.start("purchase");
                        out.element("price", numberText(item.price, 2));
                        out.end();
                    }
                    if (item.nextServiceYear >= 1601 && item.nextServiceMonth >= 1 && item.nextServiceMonth <= 12) {
                        out.start("nextservicedate");
                        out.element("datetime", dateTimeText(item.nextServiceYear, item.nextServiceMonth, 1, 0));
                        out.end();
                    }
                    if (!item.remarks.empty()) {
                        out.start("notes");
                        out.element("para", text(item.remarks));
                        out.end();
                    }
                    out.end();
                }
                if (std::string_view(kind) == "divecomputer") {
                    for (const std::uint8_t type : plan.computers) {
                        out.start("divecomputer");
                        out.attribute("id", "computer-" + std::to_string(type));
                        const logbook::ComputerInfo *info = book.computerInfo();
                        std::string name = info ? xmlSafe(info->displayName(type)) : std::string();
                        out.element("name", name.empty() ? "Type " + std::to_string(type) : name);
                        out.end();
                    }
                }
            }
            out.end();
        }

        if (plan.certificates && !plan.certificates->certificates.empty()) {
            out.start("education");
            int n = 0;
            for (const registers::Certificate &c : plan.certificates->certificates) {
                auto text = [](const std::string &s) { return registerText(s, registers::Charset::Oem); };
                out.start("certification");
                out.element("level", text(c.description.empty() ? c.category : c.description));
                if (!c.category.empty())
                    out.element("organization", text(c.category));
                if (!c.instructor.empty()) {
                    out.start("instructor");
                    out.attribute("id", "instructor-" + std::to_string(++n));
                    const auto [f, l] = splitName(text(c.instructor));
                    personal(out, f, l);
                    out.end();
                }
                if (logbook::isShownAsDate(c.date)) {
                    out.start("issuedate");
                    out.element("datetime", dateText(c.date));
                    out.end();
                }
                out.end();
            }
            out.end();
        }
        out.end(); // owner
    }

    void writeBuddy(XmlOut &out, const std::string &id, const std::string &first, const std::string &last,
        const registers::Address *address)
    {
        out.start("buddy");
        out.attribute("id", id);
        personal(out, first, last);
        if (address) {
            auto text = [](const std::string &s) { return registerText(s, registers::Charset::Oem); };
            if (!address->street.empty() || !address->town.empty() || !address->postalCode.empty()
                || !address->country.empty()) {
                out.start("address");
                if (!address->street.empty())
                    out.element("street", text(address->street));
                if (!address->town.empty())
                    out.element("city", text(address->town));
                if (!address->postalCode.empty())
                    out.element("postcode", text(address->postalCode));
                out.element("country", text(address->country));
                out.end();
            }
            const bool homePage = !address->homePage.empty() && address->homePage.find(' ') == std::string::npos;
            if (!address->phone1.empty() || !address->phone2.empty() || !address->mobile.empty()
                || !address->fax.empty() || !address->email.empty() || homePage) {
                out.start("contact");
                for (const std::string *phone : { &address->phone1, &address->phone2 })
                    if (!phone->empty())
                        out.element("phone", text(*phone));
                if (!address->mobile.empty())
                    out.element("mobilephone", text(address->mobile));
                if (!address->fax.empty())
                    out.element("fax", text(address->fax));
                if (!address->email.empty())
                    out.element("email", text(address->email));
                if (homePage)
                    out.element("homepage", text(address->homePage));
                out.end();
            }
            if (!address->remarks.empty()) {
                out.start("notes");
                out.element("para", text(address->remarks));
                out.end();
            }
        }
        out.end();
    }

    // What our wrapper carries beside the dives: the logbook's own bytes.
    struct RawImages {
        std::vector<std::uint8_t> log;
        std::vector<std::uint8_t> add;
        std::optional<SplitLog> split;
    };

    void writeZorvData(XmlOut &out, const logbook::Logbook &book, const RawImages &raw, int position, bool first,
        std::span<const RegisterSource> registers)
    {
        out.start("applicationdata");
        out.start("zorv");
        out.attribute("xmlns:z", kZorvNamespace);
        if (first) {
            out.start("z:logbook");
            out.attribute("headerlong", std::to_string(raw.split->header.headerLong));
            out.attribute("worda", std::to_string(raw.split->header.wordA));
            out.attribute("wordb", std::to_string(raw.split->header.wordB));
            out.attribute("dives", std::to_string(book.diveCount()));
            out.end();
            if (raw.add.size() >= kAddHeaderSize + kExtraSize + kAddTrailerSize)
                out.hexElement(
                    "z:addtrailer", std::span(raw.add).subspan(kAddHeaderSize + kExtraSize, kAddTrailerSize));
            for (const RegisterSource &reg : registers) {
                out.start("z:register");
                out.attribute("kind", kindName(reg.kind));
                out.attribute("file", xmlSafe(reg.fileName));
                out.hexText(reg.bytes);
                out.end();
            }
        }
        const std::size_t index = static_cast<std::size_t>(position - 1);
        out.hexElement("z:record", raw.split->records[index]);
        const std::size_t at = kAddHeaderSize + index * (kExtraSize + kAddTrailerSize);
        if (raw.add.size() >= at + kExtraSize)
            out.hexElement("z:extra", std::span(raw.add).subspan(at, kExtraSize));
        out.end();
        out.end();
    }

} // namespace

namespace {

    Plan makePlan(const logbook::Logbook &book, std::span<const RegisterSource> registers, const ExportOptions &options,
        Result &failure)
    {
        Plan plan;
        for (int position = 1; position <= book.diveCount(); ++position) {
            const DiveRecord &d = *book.dive(position);
            if (d.diveNumber < options.firstNumber || d.diveNumber > options.lastNumber)
                continue;
            plan.positions.push_back(position);
            if (!logbook::fixedText(d.place).empty() || !logbook::fixedText(d.site).empty()) {
                auto key
                    = std::make_pair(std::string(logbook::fixedText(d.place)), std::string(logbook::fixedText(d.site)));
                if (!plan.sites.contains(key))
                    plan.sites.emplace(std::move(key), "site-" + std::to_string(plan.sites.size() + 1));
            }
            for (std::string &name : partnerNames(d))
                if (!plan.buddies.contains(name))
                    plan.buddies.emplace(std::move(name), "buddy-" + std::to_string(plan.buddies.size() + 1));
            if (d.computerType != 0)
                plan.computers.insert(d.computerType);
            plan.nitrox = plan.nitrox || (d.diveType & logbook::dive_type::kNitrox) != 0;
        }
        for (const RegisterSource &reg : registers) {
            const fs::path name = reg.fileName;
            auto take = [&failure](auto parsed, auto &into) {
                if (parsed)
                    into = std::move(*parsed);
                else if (failure.ok())
                    failure = parsed.result();
            };
            switch (reg.kind) {
            case RegisterKind::Certificates:
                take(registers::parseCertificates(reg.bytes, name), plan.certificates);
                break;
            case RegisterKind::Trips:
                take(registers::parseTrips(reg.bytes, name), plan.trips);
                break;
            case RegisterKind::Equipment:
                take(registers::parseEquipment(reg.bytes, name), plan.equipment);
                break;
            case RegisterKind::Addresses:
                take(registers::parseAddresses(reg.bytes, name), plan.addresses);
                break;
            case RegisterKind::Teaching:
                break; // UDDF has no place for the courses taught; our wrapper carries them
            }
        }
        return plan;
    }

    void writeDive(XmlOut &out, const Plan &plan, const DiveRecord &d, int position)
    {
        // informationbeforedive is a strict sequence: links, number, time, air, interval, equipment.
        out.start("informationbeforedive");
        if (const std::string site = siteKeyId(plan, d); !site.empty())
            out.link(site);
        std::set<std::string> linked;
        for (const std::string &name : partnerNames(d)) {
            const std::string &id = plan.buddies.at(name);
            if (linked.insert(id).second)
                out.link(id);
        }
        if (d.diveNumber > 0)
            out.element("divenumber", std::to_string(d.diveNumber));
        out.element("datetime", dateText(d.date, d.entryTime == kMissing ? 0 : d.entryTime));
        if (d.airTemperature != kMissing)
            out.element("airtemperature", numberText(d.airTemperature / 100.0 + kKelvin, 2));
        if (d.surfaceInterval != kMissing && d.surfaceInterval >= 0) {
            out.start("surfaceintervalbeforedive");
            out.element("passedtime", std::to_string(d.surfaceInterval * 60));
            out.end();
        }
        if (d.extra.weights != kMissing || d.computerType != 0) {
            out.start("equipmentused");
            if (d.extra.weights != kMissing)
                out.element("leadquantity", numberText(d.extra.weights / 100.0, 2));
            if (d.computerType != 0)
                out.link("computer-" + std::to_string(d.computerType));
            out.end();
        }
        out.end();

        // The schema wants a start pressure in every tankdata.
        if (d.extra.tankPressure != kMissing) {
            out.start("tankdata");
            if ((d.diveType & logbook::dive_type::kNitrox) != 0)
                out.link("mix-nitrox");
            if (d.tankVolume != kMissing)
                out.element("tankvolume", numberText(d.tankVolume / 100.0 / 1000.0, 5));
            out.element("tankpressurebegin", numberText(d.extra.tankPressure / 100.0 * 1e5, 0));
            if (d.airUsed != kMissing)
                out.element("tankpressureend", numberText((d.extra.tankPressure - d.airUsed) / 100.0 * 1e5, 0));
            out.end();
        }

        const auto samples = logbook::profileSamples(d);
        if (!samples.empty()) {
            out.start("samples");
            // Bits of the first marker byte that UDDF names; the rest ride in our wrapper.
            static constexpr std::array<std::pair<std::uint8_t, const char *>, 4> kAlarms
                = { { { 0x01, "deco" }, { 0x02, "rbt" }, { 0x04, "ascent" }, { 0x10, "microbubbles" } } };
            for (std::size_t k = 0; k < samples.size(); ++k) {
                out.start("waypoint");
                for (const auto &[bit, alarm] : kAlarms)
                    if ((samples[k].markers[0] & bit) != 0)
                        out.element("alarm", alarm);
                out.element("depth", numberText(std::max(0.0, -static_cast<double>(samples[k].depth)), 5));
                out.element("divetime", std::to_string(k * logbook::kSampleSeconds));
                out.end();
            }
            out.end();
        }

        out.start("informationafterdive");
        if (d.minWaterTemperature != kMissing)
            out.element("lowesttemperature", numberText(d.minWaterTemperature / 100.0 + kKelvin, 2));
        const double depth = d.maxDepth != kMissing && d.maxDepth >= 0 ? d.maxDepth / 100.0 : d.profileMaxDepth;
        out.element("greatestdepth", numberText(depth, 5));
        if (d.extra.visibility != kMissing)
            out.element("visibility", numberText(d.extra.visibility / 100.0, 2));
        const std::string_view comment = logbook::fixedText(d.comment);
        const std::string_view more = logbook::fixedText(d.extra.commentMore);
        if (!comment.empty() || !more.empty()) {
            out.start("notes");
            if (!comment.empty())
                out.element("para", display(comment));
            if (!more.empty())
                out.element("para", display(more));
            out.end();
        }
        const int seconds = d.duration != kMissing && d.duration >= 0
            ? d.duration * 60
            : static_cast<int>(samples.size()) * logbook::kSampleSeconds;
        out.element("diveduration", std::to_string(seconds));
        if (d.avgDepth > 0.0f)
            out.element("averagedepth", numberText(d.avgDepth, 4));
        out.end();
        (void)position;
    }

} // namespace

common::ResultOr<ExportSummary> writeUddf(const logbook::Logbook &book, std::span<const RegisterSource> registers,
    const ExportOptions &options, const std::function<bool(std::string_view)> &sink)
{
    Result failure;
    const Plan plan = makePlan(book, registers, options, failure);
    if (!failure)
        return failure;

    RawImages raw;
    if (options.content == Content::Full && !plan.positions.empty()) {
        raw.log = logbook::LogbookFile::logBytes(book);
        raw.add = logbook::LogbookFile::addBytes(book);
        raw.split = splitLog(raw.log);
        if (!raw.split || raw.split->records.size() != static_cast<std::size_t>(book.diveCount()))
            return Result::failure(Status::BadFormat, "Le journal ne peut pas être écrit.");
    }

    XmlOut out(sink);
    out.start("uddf");
    out.attribute("xmlns", kUddfNamespace);
    out.attribute("version", "3.2.2");
    out.start("generator");
    out.element("name", "Zorv");
    out.element("type", "logbook");
    out.end();

    out.start("diver");
    writeOwner(out, plan, book);
    std::set<std::string> addressNames;
    for (std::size_t i = 0; i < plan.addresses.size(); ++i) {
        const registers::Address &a = plan.addresses[i];
        auto text = [](const std::string &s) { return registerText(s, registers::Charset::Oem); };
        writeBuddy(out, "address-" + std::to_string(i + 1), text(a.firstName), text(a.lastName), &a);
    }
    for (const auto &[name, id] : plan.buddies) {
        const auto [first, last] = splitName(name);
        writeBuddy(out, id, first, last, nullptr);
    }
    out.end();

    if (!plan.sites.empty()) {
        out.start("divesite");
        for (const auto &[key, id] : plan.sites) {
            out.start("site");
            out.attribute("id", id);
            out.element("name", display(key.second.empty() ? key.first : key.second));
            if (!key.first.empty()) {
                out.start("geography");
                out.element("location", display(key.first));
                out.end();
            }
            out.end();
        }
        out.end();
    }

    if (!plan.trips.empty()) {
        out.start("divetrip");
        for (std::size_t i = 0; i < plan.trips.size(); ++i) {
            const registers::Trip &trip = plan.trips[i];
            const std::string name = registerText(trip.destination, registers::Charset::Windows);
            out.start("trip");
            out.attribute("id", "trip-" + std::to_string(i + 1));
            out.element("name", name);
            out.start("trippart");
            out.element("name", name);
            if (logbook::isShownAsDate(trip.firstDay) && logbook::isShownAsDate(trip.lastDay)) {
                out.start("dateoftrip");
                out.attribute("startdate", dateText(trip.firstDay));
                out.attribute("enddate", dateText(trip.lastDay));
                out.end();
            }
            bool related = false;
            for (const int position : plan.positions) {
                const int number = book.dive(position)->diveNumber;
                if (number < trip.firstDive || number > trip.lastDive)
                    continue;
                if (!related)
                    out.start("relateddives");
                related = true;
                out.link("dive-" + std::to_string(position));
            }
            if (related)
                out.end();
            if (!trip.remarks.empty()) {
                out.start("notes");
                out.element("para", registerText(trip.remarks, registers::Charset::Windows));
                out.end();
            }
            out.end();
            out.end();
        }
        out.end();
    }

    if (plan.nitrox) {
        // The logbook keeps that a dive was on nitrox, not the mix's oxygen share.
        out.start("gasdefinitions");
        out.start("mix");
        out.attribute("id", "mix-nitrox");
        out.element("name", "Nitrox");
        out.end();
        out.end();
    }

    ExportSummary summary;
    if (!plan.positions.empty()) {
        out.start("profiledata");
        out.start("repetitiongroup");
        out.attribute("id", "group-1");
        for (const int position : plan.positions) {
            out.start("dive");
            out.attribute("id", "dive-" + std::to_string(position));
            if (raw.split)
                writeZorvData(out, book, raw, position, summary.dives == 0, registers);
            writeDive(out, plan, *book.dive(position), position);
            out.end();
            ++summary.dives;
            if (out.failed())
                break;
            if (options.progress && !options.progress(summary.dives, static_cast<int>(plan.positions.size())))
                return Result::failure(Status::Cancelled, "L'export a été annulé.");
        }
        out.end();
        out.end();
    }
    out.end(); // uddf
    if (!out.finish())
        return Result::failure(Status::IoError, "Le fichier UDDF n'a pas pu être écrit.");
    return summary;
}

common::ResultOr<ExportSummary> exportUddf(const logbook::Logbook &book, std::span<const RegisterSource> registers,
    const ExportOptions &options, const fs::path &target)
{
    StreamFile file(target);
    if (!file.status())
        return file.status();
    auto written = writeUddf(book, registers, options, [&file](std::string_view bytes) { return file.write(bytes); });
    if (!written)
        return file.status().ok() ? written.result() : file.status();
    if (Result committed = file.commit(); !committed)
        return committed;
    return written;
}

} // namespace zorv::uddf
