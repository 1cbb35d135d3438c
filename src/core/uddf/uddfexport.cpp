#include "uddf/uddfexport.h"

#include "common/translation.h"
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
#include "uddf/uddfwriter.h"

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

using namespace uddfwriting;

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

} // namespace

namespace uddfwriting {

    std::string registerText(const std::string &stored, registers::Charset charset)
    {
        return xmlSafe(registers::toDisplay(stored, charset));
    }

    std::string dateText(std::uint32_t day, int minutes)
    {
        const logbook::CalendarDate date = logbook::calendarDate(logbook::isShownAsDate(day) ? day : 0);
        return dateTimeText(std::max(date.year, 1600), std::clamp(date.month, 1, 12), std::clamp(date.day, 1, 31),
            std::clamp(minutes, 0, 24 * 60 - 1));
    }

    std::pair<std::string, std::string> splitName(const std::string &name)
    {
        const std::size_t space = name.find(' ');
        if (space == std::string::npos)
            return { name, {} };
        return { name.substr(0, space), name.substr(space + 1) };
    }

} // namespace uddfwriting

namespace {

    std::string display(std::string_view stored)
    {
        return xmlSafe(logbook::storedToDisplay(stored));
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

    std::string siteKeyId(const Plan &plan, const DiveRecord &d)
    {
        const auto it
            = plan.sites.find({ std::string(logbook::fixedText(d.place)), std::string(logbook::fixedText(d.site)) });
        return it == plan.sites.end() ? std::string() : it->second;
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
            return Result::failure(Status::BadFormat, common::tr("Le carnet ne peut pas être écrit."));
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
                return Result::failure(Status::Cancelled, common::tr("L'export a été annulé."));
        }
        out.end();
        out.end();
    }
    out.end(); // uddf
    if (!out.finish())
        return Result::failure(Status::IoError, common::tr("Le fichier UDDF n'a pas pu être écrit."));
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
