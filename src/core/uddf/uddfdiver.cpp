#include "logbook/daynumber.h"
#include "logbook/logbookfile.h"
#include "registers/addresses.h"
#include "registers/certificates.h"
#include "registers/equipment.h"
#include "uddf/uddfwriter.h"

#include <algorithm>
#include <array>

namespace zorv::uddf {

using namespace uddfwriting;

namespace {

    // A one-word name is a first name with an empty last name: the schema wants both.
    void personal(XmlOut &out, const std::string &first, const std::string &last)
    {
        out.start("personal");
        out.element("firstname", first);
        out.element("lastname", last);
        out.end();
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

} // namespace

namespace uddfwriting {

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

} // namespace uddfwriting

} // namespace zorv::uddf
