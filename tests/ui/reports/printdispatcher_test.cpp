#include "logbook/generator.h"
#include "registers/addresses.h"
#include "registers/registerprintouts.h"
#include "ui/common/appcontext.h"
#include "ui/registers/registerwidgets.h"
#include "ui/reports/printdialog.h"
#include "ui/reports/printdispatcher.h"
#include "uitest.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace zorv;
using reports::PrintMode;
using zorv::ui::AppContext;

class PrintDispatcherTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<ui::PrintDispatcher> m_print;

    // Sends the printer's pages into a PDF file instead of asking for a printer.
    QString printToPdf()
    {
        const QString pdf = m_dir->filePath(QStringLiteral("pages.pdf"));
        m_print->askPrinter = [pdf](QWidget *, QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        return pdf;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_context = std::make_unique<AppContext>();
        m_context->load(m_dir->path().toStdString(), { 1024, 768 });
        logbook::GeneratorOptions options;
        options.dives = 9;
        logbook::generateLogbook(m_context->logbook, options);
        m_context->logbook.setCurrentDive(3);
        // The last test's dispatcher goes first, so this one becomes the program's.
        m_print.reset();
        m_print = std::make_unique<ui::PrintDispatcher>(*m_context);
        QCOMPARE(ui::PrintDispatcher::current(), m_print.get());
    }

    void theDialogChoosesWhatIsPrinted()
    {
        uitest::Prompts prompts;
        const QString pdf = printToPdf();
        prompts.dialog<ui::LogbookPrintDialog>([](ui::LogbookPrintDialog &d) {
            ui::LogbookPrintDialog *dialog = &d;
            // The range starts at the current dive.
            QCOMPARE(dialog->fromEdit()->text(), QStringLiteral("3"));
            QCOMPARE(dialog->toEdit()->text(), QStringLiteral("3"));
            QVERIFY(dialog->separatorBox()->isChecked());
            uitest::saveScreenshot(dialog, QStringLiteral("print-dialog"));
            // The cover page prints no dives: its range is greyed.
            dialog->modeButton(PrintMode::CoverPage)->click();
            QVERIFY(!dialog->fromEdit()->isEnabled());
            dialog->modeButton(PrintMode::DivePages)->click();
            QVERIFY(dialog->toEdit()->isEnabled());
            dialog->toEdit()->setText(QStringLiteral("40"));
            dialog->separatorBox()->setChecked(false);
            QTest::mouseClick(dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        m_print->printLogbook(nullptr, false);
        // The range is pulled into the logbook and kept for the next print, as is the separator setting.
        QCOMPARE(m_print->job().toNumber, 9);
        QVERIFY(!m_context->settings.printSeparatorLine);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
    }

    void cancellingPrintsNothing()
    {
        uitest::Prompts prompts;
        const QString pdf = printToPdf();
        prompts.modal([](QWidget *modal) {
            QTest::mouseClick(modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        });
        m_print->printLogbook(nullptr, false);
        QVERIFY(!QFile::exists(pdf));
    }

    void thePreviewShowsTheSamePages()
    {
        uitest::Prompts prompts;
        m_print->askLogbookChoices = [this](QWidget *) {
            m_print->job().mode = PrintMode::DiveList;
            m_print->job().fromNumber = 1;
            m_print->job().toNumber = 9;
            return true;
        };
        prompts.dialog<QPrintPreviewDialog>([](QPrintPreviewDialog &preview) {
            preview.resize(900, 700);
            QTest::qWait(50);
            uitest::saveScreenshot(&preview, QStringLiteral("print-preview"));
            QCOMPARE(preview.findChild<QPrintPreviewWidget *>()->pageCount(), 1);
        });
        m_print->printLogbook(nullptr, true);
        QVERIFY(prompts.done());
    }

    // A register's list goes to the kept printer too, every page of it.
    void registerListsPrintThroughTheDispatcher()
    {
        const QString pdf = printToPdf();
        std::vector<registers::Address> addresses(150);
        for (std::size_t i = 0; i < addresses.size(); ++i)
            addresses[i].lastName = "Nom " + std::to_string(i);
        const registers::ListPrintout list = registers::addressPrintout(addresses);
        QVERIFY(registers::listPageCount(list) > 1);
        QVERIFY(ui::printList(nullptr, list, reports::JobKind::Addresses));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "),
            registers::listPageCount(list));
    }
};

ZORV_UI_TEST_MAIN(PrintDispatcherTest)
#include "printdispatcher_test.moc"
