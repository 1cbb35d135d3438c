#include "registers/registerprintouts.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "common/translation.h"
#include "logbook/fieldcatalogue.h"

#include <algorithm>
#include <climits>

namespace zorv::registers {

using common::StringId;

namespace {

    using canvas::HAlign;

    std::string money(float value)
    {
        return common::cformat("%.2f", static_cast<double>(value));
    }

    std::string date(std::uint32_t day)
    {
        return logbook::formatDate(day, logbook::DateForm::Medium);
    }

    std::string dateRange(std::uint32_t first, std::uint32_t last)
    {
        if (!logbook::isShownAsDate(last) || last == first)
            return date(first);
        return date(first) + " - " + date(last);
    }

} // namespace

ListPrintout equipmentPrintout(
    const std::vector<EquipmentItem> &items, int month, int year, const std::string &currency)
{
    ListPrintout list;
    list.title = common::tr("Inventaire de l'équipement");
    list.columns = { { common::tr("Catégorie"), 250 }, { common::tr("Article"), 550 },
        { common::tr("Utilisateur"), 300 }, { common::tr("Numéro de série"), 300 }, { common::tr("Révision"), 180 },
        { common::tr("Prix"), 220, HAlign::Right } };
    for (const EquipmentItem &item : items)
        list.rows.push_back({ equipmentCell(item, 0, month, year), equipmentCell(item, 1, month, year),
            equipmentCell(item, 2, month, year), toDisplay(item.serialNumber, Charset::Windows),
            nextServiceText(item, month, year), money(item.price) });
    const CostSummary sum = costSummary(items, std::nullopt);
    list.summary = { common::cformat(common::tr("Articles: %d   Prix: %s %s   Révisions: %s %s   Total: %s %s"),
        sum.total.count, money(sum.total.prices).c_str(), currency.c_str(), money(sum.total.services).c_str(),
        currency.c_str(), money(sum.total.total).c_str(), currency.c_str()) };
    return list;
}

ListPrintout addressPrintout(const std::vector<Address> &addresses)
{
    ListPrintout list;
    list.title = common::tr("Adresses");
    list.columns = { { common::tr("Nom"), 450 }, { common::tr("Adresse"), 700 }, { common::tr("Téléphone"), 300 },
        { common::tr("Courriel"), 350 } };
    for (const Address &a : addresses)
        list.rows.push_back(
            { addressCell(a, 0), addressCell(a, 1), addressCell(a, 2), toDisplay(a.email, Charset::Oem) });
    return list;
}

ListPrintout tripPrintout(const std::vector<Trip> &trips)
{
    ListPrintout list;
    list.title = common::tr("Voyages");
    list.columns
        = { { common::tr("Date"), 450 }, { common::tr("Destination"), 1000 }, { common::tr("Plongées"), 350 } };
    for (const Trip &t : trips)
        list.rows.push_back({ dateRange(t.firstDay, t.lastDay), tripCell(t, 1), tripCell(t, 2) });
    return list;
}

ListPrintout teachingPrintout(const std::vector<TeachingActivity> &records)
{
    ListPrintout list;
    list.title = common::tr("Suivi de qualification");
    list.columns
        = { { common::tr("Date"), 450 }, { common::tr("Activité"), 850 }, { common::tr("Théorie"), 160, HAlign::Right },
              { common::tr("Pratique"), 160, HAlign::Right }, { common::tr("Personnes"), 180, HAlign::Right } };
    for (const TeachingActivity &r : records)
        list.rows.push_back(
            { dateRange(r.firstDay, r.lastDay), teachingCell(r, 1), common::cformat("%d", r.theoryHours),
                common::cformat("%d", r.practiceHours), common::cformat("%d", r.persons) });
    const TeachingTotals totals = teachingTotals(records);
    // The old form's sentence, with the sums kept within what it prints.
    const auto clampInt
        = [](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); };
    list.summary = { common::cformat(std::string(common::str(StringId::InstructorHoursLine)).c_str(),
        clampInt(totals.theory), clampInt(totals.practice), clampInt(totals.persons)) };
    return list;
}

ListPrintout certificatePrintout(const CertificateRegister &reg, const std::string &currency)
{
    ListPrintout list;
    list.title = common::tr("Brevets et certificats");
    const std::string diver = toDisplay(reg.diverName, Charset::Oem);
    const std::string club = toDisplay(reg.club, Charset::Oem);
    if (!diver.empty() || !club.empty())
        list.title += " - " + diver + (club.empty() ? "" : " (" + club + ")");
    list.columns = { { common::tr("Catégorie"), 250 }, { common::tr("Date"), 200 }, { common::tr("Description"), 650 },
        { common::tr("Instructeur"), 450 }, { common::tr("Coût"), 250, HAlign::Right } };
    for (const Certificate &c : reg.certificates)
        list.rows.push_back({ certificateCell(c, 0), certificateCell(c, 1), certificateCell(c, 2),
            toDisplay(c.instructor, Charset::Oem), money(c.cost) });
    list.summary = { common::tr("Coût/Instruction: ") + certificateCostText(reg.certificates, currency) };
    return list;
}

} // namespace zorv::registers
