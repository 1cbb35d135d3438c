#include "logbook/generator.h"
#include "ui/common/appcontext.h"
#include "ui/reports/csvexportdialog.h"
#include "uitest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <memory>

using namespace zorv;
using reports::CsvField;
using zorv::ui::AppContext;

namespace {

void pressOk(QDialog *dialog)
{
    QTest::mouseClick(dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

using zorv::uitest::fileBytes;
} // namespace

class CsvExportDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppContext> m_context;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_context = std::make_unique<AppContext>();
        m_context->load(m_dir->path().toStdString(), { 1024, 768 });
        logbook::GeneratorOptions options;
        options.dives = 12;
        logbook::generateLogbook(m_context->logbook, options);
    }

    void choicesAreWrittenAndRemembered()
    {
        AppContext &context = *m_context;
        context.settings.csvFields = static_cast<int>(reports::csvBit(CsvField::Place));
        const QString target = m_dir->filePath(QStringLiteral("plongées.csv"));
        ui::CsvExportDialog dialog(context, target);
        dialog.show();
        // The dialog starts from the logbook's first and last numbers and the remembered choices.
        QCOMPARE(dialog.firstEdit()->text(), QStringLiteral("1"));
        QCOMPARE(dialog.lastEdit()->text(), QStringLiteral("12"));
        QVERIFY(dialog.fieldBox(CsvField::Place)->isChecked());
        QVERIFY(!dialog.fieldBox(CsvField::DiveNumber)->isChecked());
        for (QCheckBox *box : dialog.findChildren<QCheckBox *>())
            QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->text()));
        uitest::saveScreenshot(&dialog, QStringLiteral("csvexport"));

        dialog.fieldBox(CsvField::DiveNumber)->setChecked(true);
        dialog.fieldBox(CsvField::MaxDepth)->setChecked(true);
        dialog.separatorList()->setCurrentIndex(1);
        dialog.firstEdit()->setText(QStringLiteral("3"));
        dialog.lastEdit()->setText(QStringLiteral("4"));
        pressOk(&dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        const QByteArray csv = fileBytes(target);
        QVERIFY(csv.startsWith("\xEF\xBB\xBFNum\xC3\xA9ro\tLieu\tMaxProf.\t\n3\t"));
        QCOMPARE(csv.count('\n'), 3);
        // Below the header the depths carry a decimal comma.
        QVERIFY(!csv.mid(csv.indexOf('\n')).contains('.'));
        QVERIFY(csv.mid(csv.indexOf('\n')).contains(','));
        const settings::Settings &s = context.settings;
        QCOMPARE(s.csvFields,
            static_cast<int>(reports::csvBit(CsvField::Place) | reports::csvBit(CsvField::DiveNumber)
                | reports::csvBit(CsvField::MaxDepth)));
        QCOMPARE(s.csvSeparator, 1);
    }

    void refusedChoicesKeepTheDialogOpen()
    {
        uitest::Prompts prompts;
        AppContext &context = *m_context;
        const QString target = m_dir->filePath(QStringLiteral("rien.csv"));
        ui::CsvExportDialog dialog(context, target);
        dialog.show();
        dialog.fieldBox(CsvField::DiveNumber)->setChecked(true);
        dialog.lastEdit()->setText(QStringLiteral("13"));
        prompts.message(QStringLiteral("Numéro de plongée hors limites"));
        pressOk(&dialog);
        QVERIFY(dialog.isVisible());
        QVERIFY(!QFile::exists(target));
    }

    void theCommandAsksForTheFileFirst()
    {
        uitest::Prompts prompts;
        AppContext &context = *m_context;
        context.settings.csvFields = static_cast<int>(reports::csvBit(CsvField::DiveNumber));
        const QString target = m_dir->filePath(QStringLiteral("choisi.csv"));
        prompts
            .file(target, [](QFileDialog &files) { uitest::saveScreenshot(&files, QStringLiteral("csvexport-file")); })
            .modal(pressOk);
        ui::exportCsv(context, nullptr);
        QVERIFY(fileBytes(target).startsWith("\xEF\xBB\xBFNum\xC3\xA9ro;\n1;\n2;"));
    }

    void theFileDialogStartsBesideTheLogbookThenWhereTheLastFileWent()
    {
        uitest::Prompts prompts;
        AppContext &context = *m_context;
        const std::string before = context.logbook.path();
        context.logbook.setPath(m_dir->filePath(QStringLiteral("carnet.log")).toStdString());
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("exports")));
        const QString exports = m_dir->filePath(QStringLiteral("exports"));
        // The export dialog that follows the file dialog is left, cancelled.
        const auto run = [&](const QString &target, const QString &startIn) {
            prompts
                .file(target,
                    [&](QFileDialog &files) {
                        QCOMPARE(files.directory().absolutePath(), startIn);
                        // Every detail column is as wide as its header ("Dernière modification").
                        auto *tree = uitest::child<QTreeView>(&files, "treeView");
                        for (int c = 1; c < tree->header()->count(); ++c) {
                            const QString title = tree->model()->headerData(c, Qt::Horizontal).toString();
                            QVERIFY2(
                                tree->header()->sectionSize(c) > tree->header()->fontMetrics().horizontalAdvance(title),
                                qPrintable(title));
                        }
                    })
                .modal([](QDialog *) {});
            ui::exportCsv(context, nullptr);
        };
        run(exports + QStringLiteral("/a.csv"), QDir(m_dir->path()).absolutePath());
        run(exports + QStringLiteral("/b.csv"), QDir(exports).absolutePath());
        context.logbook.setPath(before);
    }
};

ZORV_UI_TEST_MAIN(CsvExportDialogTest)
#include "csvexportdialog_test.moc"
