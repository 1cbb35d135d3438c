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
        QString said;
        prompts.answer(QStringLiteral("OK"), &said,
            [](QWidget *box) { uitest::saveScreenshot(box, QStringLiteral("csvexport-range")); });
        pressOk(&dialog);
        QCOMPARE(said, QStringLiteral("Numéro de plongée hors limites"));
        QVERIFY(dialog.isVisible());
        QVERIFY(!QFile::exists(target));
    }

    void theCommandAsksForTheFileFirst()
    {
        uitest::Prompts prompts;
        AppContext &context = *m_context;
        context.settings.csvFields = static_cast<int>(reports::csvBit(CsvField::DiveNumber));
        const QString target = m_dir->filePath(QStringLiteral("choisi.csv"));
        prompts.modal([&](QWidget *modal) {
            auto *files = qobject_cast<QFileDialog *>(modal);
            QVERIFY(files);
            uitest::saveScreenshot(files, QStringLiteral("csvexport-file"));
            files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(target);
            uitest::prompts().modal([](QWidget *dialog) { pressOk(qobject_cast<QDialog *>(dialog)); });
            static_cast<QDialog *>(files)->accept();
        });
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
        const auto run = [&](const QString &target, QString &startedIn) {
            uitest::prompts().modal([&](QWidget *modal) {
                auto *files = qobject_cast<QFileDialog *>(modal);
                QVERIFY(files);
                startedIn = files->directory().absolutePath();
                // Every detail column is as wide as its header ("Dernière modification").
                auto *tree = files->findChild<QTreeView *>(QStringLiteral("treeView"));
                QVERIFY(tree);
                for (int c = 1; c < tree->header()->count(); ++c) {
                    const QString title = tree->model()->headerData(c, Qt::Horizontal).toString();
                    QVERIFY2(tree->header()->sectionSize(c) > tree->header()->fontMetrics().horizontalAdvance(title),
                        qPrintable(title));
                }
                files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(target);
                uitest::prompts().modal([](QWidget *dialog) { static_cast<QDialog *>(dialog)->reject(); });
                static_cast<QDialog *>(files)->accept();
            });
            ui::exportCsv(context, nullptr);
        };
        QString first;
        run(exports + QStringLiteral("/a.csv"), first);
        QCOMPARE(first, QDir(m_dir->path()).absolutePath());
        QString second;
        run(exports + QStringLiteral("/b.csv"), second);
        QCOMPARE(second, QDir(exports).absolutePath());
        context.logbook.setPath(before);
    }
};

ZORV_UI_TEST_MAIN(CsvExportDialogTest)
#include "csvexportdialog_test.moc"
