#include "printcommand.h"

#include "common/atomicfile.h"
#include "common/cformat.h"
#include "common/translation.h"
#include "qtcanvas/pagepainter.h"
#include "registers/certificates.h"
#include "reports/logbookprint.h"

#include <QFile>
#include <iostream>
#include <string>

namespace zorv::cli {

namespace {

    const QString kMode = QStringLiteral("mode");
    const QString kOption = QStringLiteral("option");
    const QString kNoSeparator = QStringLiteral("no-separator");
    const QString kPaper = QStringLiteral("paper");

    template <typename T, std::size_t N>
    bool pick(const QString &value, const std::pair<const char *, T> (&names)[N], T &out)
    {
        for (const auto &[name, choice] : names) {
            if (value == QLatin1String(name)) {
                out = choice;
                return true;
            }
        }
        return false;
    }

} // namespace

void addPrintOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        { kMode, QString::fromUtf8(common::tr("print : pages, list ou cover (pages par défaut).")),
            QStringLiteral("MODE"), QStringLiteral("pages") },
        { kOption,
            QString::fromUtf8(common::tr("print : pages de plongée complete, blank ou profile (complete par défaut).")),
            QStringLiteral("OPTION"), QStringLiteral("complete") },
        { kNoSeparator,
            QString::fromUtf8(common::tr("print : pas de ligne de coupe entre les deux plongées d'une feuille.")) },
        { kPaper, QString::fromUtf8(common::tr("print : a4 ou letter (a4 par défaut).")), QStringLiteral("PAPER"),
            QStringLiteral("a4") },
    });
}

int commandPrint(Environment &env, const QCommandLineParser &parser, const QString &outPath)
{
    using reports::DivePageOption;
    using reports::PrintMode;
    const logbook::Logbook &book = env.logbook;
    reports::PrintJob job;
    static const std::pair<const char *, PrintMode> modes[]
        = { { "pages", PrintMode::DivePages }, { "list", PrintMode::DiveList }, { "cover", PrintMode::CoverPage } };
    static const std::pair<const char *, DivePageOption> options[] = { { "complete", DivePageOption::Complete },
        { "blank", DivePageOption::BlankForm }, { "profile", DivePageOption::ProfileOnly } };
    static const std::pair<const char *, QPageSize::PageSizeId> papers[]
        = { { "a4", QPageSize::A4 }, { "letter", QPageSize::Letter } };
    QPageSize::PageSizeId paper = QPageSize::A4;
    if (!pick(parser.value(kMode), modes, job.mode))
        return fail(common::tr("--mode doit valoir pages, list ou cover"), kExitUsage);
    if (!pick(parser.value(kOption), options, job.option))
        return fail(common::tr("--option doit valoir complete, blank ou profile"), kExitUsage);
    if (!pick(parser.value(kPaper), papers, paper))
        return fail(common::tr("--paper doit valoir a4 ou letter"), kExitUsage);
    job.separator = !parser.isSet(kNoSeparator);

    if (book.diveCount() == 0)
        return fail(common::tr("le carnet ne contient aucune plongée"), kExitUsage);
    job.fromNumber = book.diveNumberAt(1);
    job.toNumber = book.diveNumberAt(book.diveCount());
    for (const auto &[name, target] :
        { std::pair { QStringLiteral("from"), &job.fromNumber }, std::pair { QStringLiteral("to"), &job.toNumber } }) {
        if (!parser.isSet(name))
            continue;
        bool ok = false;
        *target = parser.value(name).toInt(&ok);
        if (!ok)
            return fail(common::cformat(common::tr("--%s doit être un numéro de plongée"), name.toStdString().c_str()),
                kExitUsage);
    }
    // As in the dialog, numbers outside the logbook are pulled into it; ends that name no dive print nothing.
    const auto range = reports::settleRange(job, book);
    if (!range)
        return fail(common::tr("aucune plongée ne porte les numéros de la plage"), kExitUsage);

    reports::LogbookPrintInfo info;
    info.logbookPath = book.path();
    auto [name, club] = registers::diverLines(book.infPath());
    info.diverName = std::move(name);
    info.club = std::move(club);
    info.airIntegrated = [&env](std::uint8_t type) { return env.catalogue.airIntegrated(type); };
    reports::LogbookPrinter printer(book, job, *range, std::move(info));
    int pages = 0;
    const QByteArray pdf = qtcanvas::pdfOfPages(printer, QPageSize(paper), &pages);
    if (pages == 0)
        return fail(common::tr("impossible de dessiner les pages"), kExitFailure);
    const auto saved = common::saveFileAtomically(
        localPath(outPath), std::string(pdf.constData(), static_cast<std::size_t>(pdf.size())));
    if (!saved)
        return fail(common::cformat(
                        common::tr("impossible d'écrire %s : %s"), shownPath(outPath).c_str(), saved.message().c_str()),
            kExitFailure);
    std::cout << common::cformat(common::tr("%d page(s)"), pages) << "\n";
    return 0;
}

} // namespace zorv::cli
