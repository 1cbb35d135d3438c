#include "registerscommand.h"

#include "common/cformat.h"
#include "common/clock.h"
#include "common/strings.h"
#include "common/translation.h"
#include "jsonexport.h"
#include "logbook/daynumber.h"
#include "logbook/fieldcatalogue.h"
#include "qtglue/qtext.h"
#include "registers/addresses.h"
#include "registers/certificates.h"
#include "registers/equipment.h"
#include "registers/forecast.h"
#include "registers/instructorrecord.h"
#include "registers/trips.h"

#include <QFile>
#include <charconv>
#include <iostream>
#include <span>

namespace zorv::cli {

namespace {

    using registers::Charset;
    using registers::toDisplay;

    // Shared with the statistics commands, which add them to the parser. Built on first use, after the
    // catalogue is open: a static built before main() would keep its help in French.
    const QCommandLineOption kJson(QStringLiteral("json"), QString());
    const QCommandLineOption &dueOption()
    {
        static const QCommandLineOption o(QStringLiteral("due"),
            QString::fromUtf8(common::tr("equipment : seulement les articles dont la révision est due.")));
        return o;
    }
    const QCommandLineOption &todayOption()
    {
        static const QCommandLineOption o(QStringLiteral("today"),
            QString::fromUtf8(common::tr("equipment, forecast : la date prise pour aujourd'hui.")),
            QStringLiteral("YYYY-MM-DD"));
        return o;
    }
    const QCommandLineOption &targetOption()
    {
        static const QCommandLineOption o(QStringLiteral("target"),
            QString::fromUtf8(common::tr("forecast : le nombre de plongées à atteindre.")), QStringLiteral("N"));
        return o;
    }
    const QCommandLineOption &startOption()
    {
        static const QCommandLineOption o(QStringLiteral("start"),
            QString::fromUtf8(common::tr("forecast : le premier mois compté.")), QStringLiteral("MM.YYYY"));
        return o;
    }
    const QCommandLineOption &currentMonthOption()
    {
        static const QCommandLineOption o(QStringLiteral("current-month"),
            QString::fromUtf8(common::tr("forecast : compter aussi le mois en cours, inachevé.")));
        return o;
    }

    // A JSON object written field by field.
    class JsonObject {
    public:
        explicit JsonObject(std::ostream &out)
            : m_out(out)
        {
            m_out << "{";
        }
        ~JsonObject() { m_out << "}"; }
        JsonObject &text(const char *key, std::string_view utf8Text)
        {
            name(key);
            m_out << jsonString(utf8Text);
            return *this;
        }
        JsonObject &number(const char *key, long long value)
        {
            name(key);
            m_out << value;
            return *this;
        }
        JsonObject &real(const char *key, double value)
        {
            name(key);
            char buffer[40];
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
            m_out.write(buffer, end - buffer);
            return *this;
        }
        JsonObject &flag(const char *key, bool value)
        {
            name(key);
            m_out << (value ? "true" : "false");
            return *this;
        }
        // A date as "YYYY-MM-DD", or null when none is set.
        JsonObject &date(const char *key, std::uint32_t day)
        {
            if (!logbook::isShownAsDate(day)) {
                name(key);
                m_out << "null";
                return *this;
            }
            const logbook::CalendarDate d = logbook::calendarDate(day);
            return text(key, common::cformat("%04d-%02d-%02d", d.year, d.month, d.day));
        }

    private:
        void name(const char *key)
        {
            m_out << (m_first ? "" : ", ") << '"' << key << "\": ";
            m_first = false;
        }
        std::ostream &m_out;
        bool m_first = true;
    };

    template <typename T, typename Write> void writeArray(const std::vector<T> &records, Write write)
    {
        std::cout << "[";
        for (std::size_t i = 0; i < records.size(); ++i) {
            std::cout << (i == 0 ? "\n  " : ",\n  ");
            JsonObject object(std::cout);
            write(object, records[i]);
        }
        std::cout << (records.empty() ? "]\n" : "\n]\n");
    }

    // The list as the window shows it: the column titles, then one tab-separated line per record.
    template <typename T, typename Cell>
    void writeTable(std::span<const registers::ColumnSpec> columns, const std::vector<T> &records, Cell cell)
    {
        for (std::size_t c = 0; c < columns.size(); ++c)
            std::cout << (c ? "\t" : "") << common::str(columns[c].titleId);
        std::cout << "\n";
        for (const T &record : records) {
            for (std::size_t c = 0; c < columns.size(); ++c)
                std::cout << (c ? "\t" : "") << cell(record, static_cast<int>(c));
            std::cout << "\n";
        }
    }

    std::string windows(const std::string &stored)
    {
        return toDisplay(stored, Charset::Windows);
    }

    std::string oem(const std::string &stored)
    {
        return toDisplay(stored, Charset::Oem);
    }

    bool parseToday(const QCommandLineParser &parser, logbook::CalendarDate &today)
    {
        if (!parser.isSet(todayOption())) {
            const common::LocalDateTime now = common::clock().localNow();
            today = { now.day, now.month, now.year };
            return true;
        }
        int year = 0;
        int month = 0;
        int day = 0;
        char rest = 0;
        if (common::cscan(qtglue::fromQt(parser.value(todayOption())), "%d-%d-%d%c", &year, &month, &day, &rest) != 3
            || month < 1 || month > 12 || day < 1 || day > registers::daysInMonth(month, year) || year < 1600
            || year > 9999)
            return false;
        today = { day, month, year };
        return true;
    }

    int equipment(const QCommandLineParser &parser, const std::string &path)
    {
        logbook::CalendarDate today;
        if (!parseToday(parser, today))
            return fail(common::tr("--today doit être une date écrite AAAA-MM-JJ"), kExitUsage);
        auto items = registers::loadEquipment(path);
        if (!items)
            return fail(items.message());
        if (parser.isSet(dueOption()))
            std::erase_if(*items, [&](const registers::EquipmentItem &item) {
                return !registers::isServiceDue(item, today.month, today.year);
            });
        if (parser.isSet(kJson)) {
            writeArray(*items, [&](JsonObject &o, const registers::EquipmentItem &i) {
                o.number("category", i.category)
                    .text("categoryName", registers::equipmentCategoryName(i.category))
                    .text("article", windows(i.article))
                    .text("user", windows(i.user))
                    .text("vendorAndDate", windows(i.vendorDate))
                    .text("part1", windows(i.part1))
                    .text("serialNumber", windows(i.serialNumber))
                    .text("part2", windows(i.part2))
                    .text("serialNumber2", windows(i.serialNumber2))
                    .text("details", windows(i.details))
                    .number("lastServiceMonth", i.lastServiceMonth)
                    .number("lastServiceYear", i.lastServiceYear)
                    .number("nextServiceMonth", i.nextServiceMonth)
                    .number("nextServiceYear", i.nextServiceYear)
                    .real("price", i.price)
                    .real("serviceCost", i.serviceCost)
                    .text("remarks", windows(i.remarks))
                    .flag("remind", i.remind)
                    .flag("due", registers::isServiceDue(i, today.month, today.year));
            });
            return 0;
        }
        writeTable(registers::kEquipmentColumns, *items, [&](const registers::EquipmentItem &item, int column) {
            return registers::equipmentCell(item, column, today.month, today.year);
        });
        return 0;
    }

    int addresses(const QCommandLineParser &parser, const std::string &path)
    {
        auto list = registers::loadAddresses(path);
        if (!list)
            return fail(list.message());
        if (parser.isSet(kJson)) {
            writeArray(*list, [](JsonObject &o, const registers::Address &a) {
                for (const registers::AddressField &field : registers::kAddressFields) {
                    static const char *const keys[]
                        = { "firstName", "lastName", "title", "street", "postalCode", "town", "country", "telephone1",
                              "telephone2", "fax", "mobile", "email", "homePage", "remarks" };
                    o.text(keys[&field - registers::kAddressFields.data()], oem(a.*field.member));
                }
            });
            return 0;
        }
        writeTable(registers::kAddressColumns, *list,
            [](const registers::Address &a, int column) { return registers::addressCell(a, column); });
        return 0;
    }

    int teaching(const QCommandLineParser &parser, const std::string &path)
    {
        auto records = registers::loadTeaching(path);
        if (!records)
            return fail(records.message());
        if (parser.isSet(kJson)) {
            writeArray(*records, [](JsonObject &o, const registers::TeachingActivity &r) {
                o.text("activity", windows(r.activity))
                    .date("firstDay", r.firstDay)
                    .date("lastDay", r.lastDay)
                    .number("theoryHours", r.theoryHours)
                    .number("practiceHours", r.practiceHours)
                    .number("persons", r.persons)
                    .text("remarks", windows(r.remarks));
            });
            return 0;
        }
        writeTable(registers::kTeachingColumns, *records,
            [](const registers::TeachingActivity &r, int column) { return registers::teachingCell(r, column); });
        const registers::TeachingTotals totals = registers::teachingTotals(*records);
        std::cout << common::tr("Total des heures : théorie ") << totals.theory << common::tr(", pratique ")
                  << totals.practice << common::tr(", total ") << totals.total() << "\n";
        return 0;
    }

    int trips(const QCommandLineParser &parser, const Environment &env)
    {
        auto list = registers::loadTrips(env.logbook.trpPath());
        if (!list)
            return fail(list.message());
        if (parser.isSet(kJson)) {
            writeArray(*list, [](JsonObject &o, const registers::Trip &t) {
                o.date("firstDay", t.firstDay)
                    .date("lastDay", t.lastDay)
                    .number("firstDive", t.firstDive)
                    .number("lastDive", t.lastDive)
                    .text("destination", windows(t.destination))
                    .text("remarks", windows(t.remarks));
            });
            return 0;
        }
        writeTable(registers::kTripColumns, *list,
            [](const registers::Trip &t, int column) { return registers::tripCell(t, column); });
        return 0;
    }

    int certificates(const QCommandLineParser &parser, const Environment &env)
    {
        auto reg = registers::loadCertificates(env.logbook.infPath());
        if (!reg)
            return fail(reg.message());
        if (parser.isSet(kJson)) {
            std::cout << "{\"diverName\": " << jsonString(oem(reg->diverName))
                      << ", \"club\": " << jsonString(oem(reg->club))
                      << ", \"olderLayout\": " << (reg->fromLegacyLayout ? "true" : "false") << ", \"certificates\": ";
            writeArray(reg->certificates, [](JsonObject &o, const registers::Certificate &c) {
                o.text("category", oem(c.category))
                    .text("description", oem(c.description))
                    .date("date", c.date)
                    .text("instructor", oem(c.instructor))
                    .real("cost", c.cost)
                    .text("remarks", oem(c.remarks));
            });
            std::cout << "}\n";
            return 0;
        }
        std::cout << common::tr("Plongeur : ") << oem(reg->diverName) << "\n"
                  << common::tr("Club : ") << oem(reg->club) << "\n";
        writeTable(registers::kCertificateColumns, reg->certificates,
            [](const registers::Certificate &c, int column) { return registers::certificateCell(c, column); });
        std::cout << common::tr("Coût/Instruction: ")
                  << registers::certificateCostText(reg->certificates, env.settings.currency) << "\n";
        return 0;
    }

    int forecast(const QCommandLineParser &parser, const Environment &env)
    {
        registers::ForecastInput in;
        if (!parseToday(parser, in.today))
            return fail(common::tr("--today doit être une date écrite AAAA-MM-JJ"), kExitUsage);
        in.dives = registers::diveDates(env.logbook);
        in.includeCurrentMonth = parser.isSet(currentMonthOption());
        long long target = registers::defaultForecastTarget(env.logbook.diveCount());
        if (parser.isSet(targetOption())) {
            const std::string text = qtglue::fromQt(parser.value(targetOption()));
            const auto r = std::from_chars(text.data(), text.data() + text.size(), target);
            if (r.ec != std::errc() || r.ptr != text.data() + text.size() || target < 0 || target > INT32_MAX)
                return fail(common::tr("--target doit être un nombre de plongées"), kExitUsage);
        }
        in.target = static_cast<int>(target);
        in.start = registers::defaultForecastStart(env.logbook.diveCount() > 0
                ? logbook::formatDate(env.logbook.dive(1)->date, logbook::DateForm::Medium)
                : std::string());
        if (parser.isSet(startOption())) {
            int month = 0;
            int year = 0;
            if (common::cscan(qtglue::fromQt(parser.value(startOption())), "%d.%d", &month, &year) != 2 || month < 1
                || month > 12)
                return fail(common::tr("--start doit être un mois écrit MM.AAAA"), kExitUsage);
            in.start = { month, year };
        }
        const auto result = registers::computeForecast(in);
        if (parser.isSet(kJson)) {
            JsonObject o(std::cout);
            o.number("dives", env.logbook.diveCount())
                .number("target", in.target)
                .text("start", common::cformat("%02d.%04d", in.start.month, in.start.year))
                .flag("includeCurrentMonth", in.includeCurrentMonth);
            if (result)
                o.text("result", registers::forecastDateText(result->reached)).real("overallRate", result->overallRate);
            else
                o.flag("result", false);
        } else {
            std::cout << common::tr("plongées : ") << env.logbook.diveCount() << "\n"
                      << common::tr("objectif : ") << in.target << "\n"
                      << common::tr("début : ") << common::cformat("%02d.%04d", in.start.month, in.start.year) << "\n";
            if (!result) {
                std::cout << common::tr("résultat : aucun") << "\n";
                return 0;
            }
            std::cout << common::tr("résultat : ") << registers::forecastDateText(result->reached) << "\n";
            for (int m = 0; m < 12; ++m) {
                const registers::MonthSlot &slot = result->months[static_cast<std::size_t>(m)];
                std::cout << common::cformat(
                    "%02d\t%.4f\t%u\n", m + 1, slot.weight != 0 ? slot.average : result->overallRate, slot.weight);
            }
        }
        if (parser.isSet(kJson))
            std::cout << "\n";
        return 0;
    }

} // namespace

void addRegisterOptions(QCommandLineParser &parser)
{
    // --json and --today are the statistics commands' options of the same names and meaning;
    // a second option of a name would be refused with a warning on every run.
    parser.addOptions({ dueOption(), targetOption(), startOption(), currentMonthOption() });
}

bool isRegisterFileCommand(const QString &command)
{
    return command == QLatin1String("equipment") || command == QLatin1String("addresses")
        || command == QLatin1String("teaching");
}

bool isLogbookRegisterCommand(const QString &command)
{
    return command == QLatin1String("trips") || command == QLatin1String("certificates")
        || command == QLatin1String("forecast");
}

int commandRegister(const QCommandLineParser &parser, Environment &env, const QString &command, const QString &path)
{
    const std::string file = localPath(path);
    if (command == QLatin1String("equipment"))
        return equipment(parser, file);
    if (command == QLatin1String("addresses"))
        return addresses(parser, file);
    if (command == QLatin1String("teaching"))
        return teaching(parser, file);
    if (command == QLatin1String("trips"))
        return trips(parser, env);
    if (command == QLatin1String("certificates"))
        return certificates(parser, env);
    return forecast(parser, env);
}

} // namespace zorv::cli
