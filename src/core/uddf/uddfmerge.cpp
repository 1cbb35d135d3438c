#include "common/atomicfile.h"
#include "common/cformat.h"
#include "common/translation.h"
#include "logbook/daynumber.h"
#include "logbook/logbookfile.h"
#include "logbook/newdive.h"
#include "uddf/rawrecords.h"
#include "uddf/uddfimport.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace zorv::uddf {

namespace fs = std::filesystem;
using common::Result;
using logbook::DiveRecord;

ImportSummary addToLogbook(logbook::Logbook &book, UddfContent content)
{
    ImportSummary summary;
    summary.notes = std::move(content.notes);
    if (book.diveCount() == 0 && content.exact) {
        const std::string path = book.path(); // the load clears the logbook's own copy first
        if (logbook::LogbookFile::load(book, content.exact->log, content.exact->add, path)) {
            book.setModified(true);
            summary.added = book.diveCount();
            return summary;
        }
    }
    auto when = [](const DiveRecord &d) { return std::make_pair(d.date, d.entryTime); };
    std::stable_sort(content.dives.begin(), content.dives.end(),
        [&when](const DiveRecord &a, const DiveRecord &b) { return when(a) < when(b); });

    // Existing dives by day, for the duplicate test.
    std::multimap<std::uint32_t, std::pair<int, int>> known;
    for (const DiveRecord &d : book.dives())
        known.emplace(d.date, std::make_pair(d.entryTime, d.maxDepth));
    auto duplicate = [&known](const DiveRecord &d) {
        const auto [from, to] = known.equal_range(d.date);
        for (auto it = from; it != to; ++it)
            if (std::abs(it->second.first - d.entryTime) <= 1 && it->second.second == d.maxDepth)
                return true;
        return false;
    };

    std::vector<DiveRecord> fresh;
    for (DiveRecord &d : content.dives) {
        if (duplicate(d)) {
            ++summary.duplicates;
            continue;
        }
        known.emplace(d.date, std::make_pair(d.entryTime, d.maxDepth));
        fresh.push_back(std::move(d));
    }
    const int room = logbook::Logbook::kMaxDives - book.diveCount();
    if (static_cast<int>(fresh.size()) > room) {
        summary.refused = static_cast<int>(fresh.size()) - room;
        fresh.resize(static_cast<std::size_t>(room));
    }
    // All after the last dive (the usual case): appended and numbered on in one go, as
    // inserting them one by one would, without re-totalling the logbook for each.
    const bool after = book.diveCount() == 0 || fresh.empty() || when(fresh.front()) > when(book.dives().back());
    if (after && !fresh.empty()) {
        std::vector<DiveRecord> all(book.dives().begin(), book.dives().end());
        std::int16_t number = all.empty() ? 0 : all.back().diveNumber;
        for (DiveRecord &d : fresh) {
            d.diveNumber = ++number;
            all.push_back(std::move(d));
        }
        book.adoptDives(std::move(all));
        summary.added = static_cast<int>(fresh.size());
    } else {
        for (const DiveRecord &d : fresh)
            if (book.insertDive(d))
                ++summary.added;
            else
                ++summary.refused;
    }
    return summary;
}

void restoreRegisters(const UddfContent &content, const logbook::Logbook &book, std::vector<std::string> &notes)
{
    const fs::path log = book.path();
    for (const RegisterSource &reg : content.registers) {
        fs::path target;
        if (reg.kind == RegisterKind::Certificates)
            target = book.infPath();
        else if (reg.kind == RegisterKind::Trips)
            target = book.trpPath();
        else
            target = log.parent_path() / reg.fileName;
        if (target.empty())
            continue;
        std::error_code ec;
        if (fs::exists(target, ec) || ec) {
            notes.push_back(common::cformat(
                common::tr("« %s » existe déjà et reste tel quel."), target.filename().string().c_str()));
            continue;
        }
        if (Result saved = common::saveFileAtomically(target, reg.bytes); !saved)
            notes.push_back(saved.message());
    }
}

std::vector<std::string> summaryLines(const ImportSummary &summary)
{
    std::vector<std::string> lines;
    lines.push_back(common::tr("Plongées ajoutées : ") + std::to_string(summary.added));
    lines.push_back(common::tr("Doublons ignorés : ") + std::to_string(summary.duplicates));
    if (summary.refused > 0)
        lines.push_back(common::tr("Refusées (carnet plein) : ") + std::to_string(summary.refused));
    for (const std::string &note : summary.notes)
        lines.push_back(note);
    return lines;
}

} // namespace zorv::uddf
