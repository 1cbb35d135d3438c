#include "decodecommand.h"

#include "common/atomicfile.h"
#include "common/cformat.h"
#include "common/clock.h"
#include "common/strings.h"
#include "common/systemerror.h"
#include "common/textcodec.h"
#include "common/translation.h"
#include "logbook/logbookfile.h"
#include "qtglue/qtext.h"
#include "transfer/imageencoder.h"
#include "transfer/memoryimage.h"
#include "transfer/transferlist.h"

#include <QDateTime>
#include <QTimeZone>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>

namespace zorv::cli {

using common::StringId;

namespace {

    std::string trimmed(std::string_view text)
    {
        const auto first = text.find_first_not_of(' ');
        if (first == std::string_view::npos)
            return {};
        return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
    }

    // Keeps the installed clock for the command's lifetime, and puts the system clock back.
    class ClockOverride {
    public:
        explicit ClockOverride(std::int64_t seconds)
            : m_clock(seconds)
        {
            common::setClock(&m_clock);
        }
        ~ClockOverride() { common::setClock(nullptr); }
        ClockOverride(const ClockOverride &) = delete;
        ClockOverride &operator=(const ClockOverride &) = delete;

    private:
        common::FixedClock m_clock;
    };

    void printInfo(const transfer::MemoryImage &memory, const computers::ComputerCatalogue &catalogue)
    {
        const transfer::InfoTexts texts = transfer::infoTexts(memory.settings(), catalogue);
        for (int i = 0; i < transfer::kInfoFieldCount; ++i)
            std::cout << transfer::infoLabel(static_cast<transfer::InfoField>(i)) << '\t'
                      << texts[static_cast<std::size_t>(i)] << '\n';
    }

    void printRows(const std::vector<transfer::TransferRow> &rows)
    {
        const auto titles = transfer::transferColumnTitles();
        for (std::size_t i = 0; i < titles.size(); ++i)
            std::cout << (i ? "\t" : "") << titles[i];
        std::cout << '\n';
        for (const auto &r : rows)
            std::cout << r.number << '\t' << r.date << '\t' << r.time << '\t' << r.depth << '\t' << r.duration << '\t'
                      << r.pressureDrop << '\t' << r.profile << '\n';
    }

} // namespace

void addDecodeOptions(QCommandLineParser &parser)
{
    parser.addOption({ QStringLiteral("into"),
        QString::fromUtf8(
            common::tr("decode, import : ajouter les nouvelles plongées à LOG (créé s'il manque) et l'enregistrer.")),
        QStringLiteral("LOG") });
    parser.addOption({ QStringLiteral("now"),
        QString::fromUtf8(
            common::tr("decode : prendre cette heure UTC (AAAA-MM-JJTHH:MM:SS) comme moment du transfert.")),
        QStringLiteral("TIME") });
}

int commandDecode(const QCommandLineParser &parser, Environment &env, const QString &imagePath)
{
    std::unique_ptr<ClockOverride> clock;
    if (parser.isSet(QStringLiteral("now"))) {
        QDateTime when = QDateTime::fromString(parser.value(QStringLiteral("now")), Qt::ISODate);
        if (!when.isValid())
            return fail(common::tr("--now attend une heure écrite AAAA-MM-JJTHH:MM:SS"), kExitUsage);
        when.setTimeZone(QTimeZone::utc());
        clock = std::make_unique<ClockOverride>(when.toSecsSinceEpoch());
    }

    // The dialog's "Test" reads the first 2050 bytes of a dump; so does this.
    // Read by its own bytes: Qt would decode a name that is not UTF-8 into another one.
    std::ifstream file(localPath(imagePath), std::ios::binary);
    if (!file)
        return fail(common::cformat(common::tr("impossible d'ouvrir %s : %s"), shownPath(imagePath).c_str(),
            common::systemErrorText(errno).c_str()));
    QByteArray bytes(static_cast<qsizetype>(transfer::image::kSize), '\0');
    file.read(bytes.data(), bytes.size());
    bytes.resize(static_cast<qsizetype>(file.gcount()));
    if (bytes.size() < static_cast<qsizetype>(transfer::image::kSize))
        return fail(common::cformat(common::tr("%s : pas une image mémoire (%d octets, 2050 attendus)"),
            shownPath(imagePath).c_str(), static_cast<int>(bytes.size())));

    transfer::MemoryImage memory;
    const std::span<const std::uint8_t> image(
        reinterpret_cast<const std::uint8_t *>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
    if (!memory.load(image))
        return fail(shownPath(imagePath) + ": " + trimmed(common::str(StringId::TransferError)) + ": "
            + common::tr("la somme de contrôle ne correspond pas, ou l'image pointe hors de ses anneaux"));

    logbook::Logbook &book = env.logbook;
    QString into;
    bool existed = false;
    std::optional<HeldLogbook> held;
    if (parser.isSet(QStringLiteral("into"))) {
        into = parser.value(QStringLiteral("into"));
        int code = 0;
        held = HeldLogbook::hold(localPath(into), env.force, code);
        if (!held)
            return code;
        existed = held->exists();
        if (existed) {
            const common::Result loaded = held->load(book);
            if (!loaded.ok())
                return fail(shownPath(into) + ": " + loaded.message());
        }
    }

    printInfo(memory, env.catalogue);
    std::cout << '\n';
    const transfer::NewDives found = memory.searchNewDives(transfer::lastLogbookDive(book));
    if (!found.any) {
        std::cout << common::str(StringId::NoNewDive) << '\n';
    } else {
        printRows(transfer::transferRows(
            memory, found.first, transfer::firstTransferNumber(book), memory.settings().imperialUnits));
    }
    if (into.isEmpty())
        return 0;

    if (book.diveCount() > 0 && book.headerLong() != memory.serialNumber())
        std::cerr << "zorv-cli: "
                  << common::cformat(common::tr("remarque : les dernières plongées du carnet viennent de l'ordinateur "
                                                "%ld, cette image vient de l'ordinateur %ld"),
                         static_cast<long>(book.headerLong()), static_cast<long>(memory.serialNumber()))
                  << "\n";
    const transfer::AcceptedDives accepted = transfer::acceptNewDives(memory, found, book);
    if (accepted.added > 0)
        book.setHeaderLong(memory.serialNumber());
    std::cout << common::cformat(common::tr("%d plongée(s) ajoutée(s)"), static_cast<int>(accepted.added)) << "\n";
    // Dives that did not fit are no success: scripts must see it.
    const int status = accepted.notFitted > 0 ? kExitNotAllAdded : 0;
    if (accepted.notFitted > 0)
        std::cerr << "zorv-cli: "
                  << common::cformat(common::tr("%d plongée(s) non ajoutée(s) : un carnet contient au plus 32767 "
                                                "plongées"),
                         static_cast<int>(accepted.notFitted))
                  << "\n";
    if (accepted.added == 0 && existed)
        return status;
    const common::Result saved = held->save(book);
    if (!saved.ok())
        return fail(common::cformat(
            common::tr("impossible d'enregistrer %s : %s"), shownPath(into).c_str(), saved.message().c_str()));
    return status;
}

int commandMakeDumps(const QString &folder)
{
    std::error_code error;
    if (!std::filesystem::is_directory(localPath(folder), error))
        return fail(common::cformat(common::tr("le dossier %s n'existe pas"), shownPath(folder).c_str()), kExitUsage);
    // The built-in catalogue, not the user's: the dumps must come out the same everywhere.
    const computers::ComputerCatalogue catalogue = computers::ComputerCatalogue::withBuiltInTypes();
    for (const transfer::ExampleDump &dump : transfer::exampleDumps(&catalogue)) {
        const std::filesystem::path target = std::filesystem::path(localPath(folder)) / dump.fileName;
        if (const common::Result saved = common::saveFileAtomically(target, dump.bytes); !saved)
            return fail(common::cformat(common::tr("impossible d'enregistrer %s : %s"),
                common::escapeInvalidUtf8(target.string()).c_str(), saved.message().c_str()));
    }
    return 0;
}

} // namespace zorv::cli
