#include "common/clock.h"
#include "common/strings.h"
#include "logbook/daynumber.h"
#include "logbook/logbookfile.h"
#include "registers/equipment.h"
#include "registers/registerprintouts.h"
#include "ui/app/application.h"
#include "ui/app/mainwindow.h"
#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"
#include "ui/registers/addressdialog.h"
#include "ui/registers/certificatesdialog.h"
#include "ui/registers/equipmentdialog.h"
#include "ui/registers/forecastdialog.h"
#include "ui/registers/registerwidgets.h"
#include "ui/registers/teachingdialog.h"
#include "ui/registers/tripsdialog.h"
#include "uitest.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

using namespace zorv;
using namespace zorv::ui;

namespace {

using uitest::child;
using uitest::fileBytes;

void click(QWidget *parent, const char *name)
{
    auto *button = child<QPushButton>(parent, name);
    QVERIFY(button);
    QVERIFY(button->isEnabled());
    button->click();
}

QString cell(QTreeView *view, int row, int column)
{
    return view->model()->index(row, column).data().toString();
}

registers::EquipmentItem gear(std::uint8_t category, const char *article, const char *user, int nextMonth, int nextYear)
{
    registers::EquipmentItem item;
    item.category = category;
    item.article = article;
    item.user = user;
    item.nextServiceMonth = static_cast<std::uint16_t>(nextMonth);
    item.nextServiceYear = static_cast<std::uint16_t>(nextYear);
    item.remind = true;
    item.price = 450.0f;
    item.serviceCost = 60.0f;
    return item;
}

} // namespace

class RegistersTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_context = std::make_unique<AppContext>();
        // 15 March 2005, noon.
        m_clock.set(m_clock.fromLocal({ 2005, 3, 15, 12, 0, 0 }));
        common::setClock(&m_clock);
    }

    void cleanup()
    {
        common::setClock(nullptr);
        m_context.reset();
        m_dir.reset();
    }

    void equipmentListsMarksDueItemsAndSavesNewOnes()
    {
        uitest::Prompts prompts;
        const QString path = m_dir->filePath(QStringLiteral("gear.dat"));
        QVERIFY(registers::saveEquipment(fromQt(path),
            { gear(0, "Apeks XTX", "Anna", 3, 2005), gear(1, "Bouteille 12 l", "Bert", 4, 2005),
                gear(99, "Lampe", "", 0, 0) }));
        m_context->settings.equipmentFile = fromQt(path);
        m_context->settings.currency = "EUR";

        EquipmentDialog dialog(*m_context);
        dialog.show();
        auto *view = child<QTreeView>(&dialog, "list");
        QAbstractItemModelTester tester(view->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(view->model()->rowCount(), 3);
        QCOMPARE(cell(view, 0, 0), QStringLiteral("Détenteur"));
        QCOMPARE(cell(view, 0, 3), QStringLiteral("03.2005*"));
        QCOMPARE(cell(view, 1, 3), QStringLiteral("04.2005"));
        QCOMPARE(cell(view, 2, 0), QStringLiteral("Autres"));
        QCOMPARE(cell(view, 2, 3), QString());
        QCOMPARE(child<QLabel>(&dialog, "fileName")->text(), path);
        QVERIFY(!child<QPushButton>(&dialog, "save")->isEnabled());
        uitest::saveScreenshot(&dialog, QStringLiteral("equipment"));

        // A new item through the form.
        prompts.answer(QStringLiteral("OK"), nullptr, [](QWidget *form) {
            uitest::saveScreenshot(form, QStringLiteral("equipment-item"));
            child<QRadioButton>(form, "category4")->setChecked(true);
            child<QLineEdit>(form, "article")->setText(QStringLiteral("Combinaison étanche"));
            child<QLineEdit>(form, "user")->setText(QStringLiteral("Anna"));
            child<QLineEdit>(form, "price")->setText(QStringLiteral("1200,50"));
            child<QLineEdit>(form, "nextMonth")->setText(QStringLiteral("2"));
            child<QLineEdit>(form, "nextYear")->setText(QStringLiteral("2005"));
            child<QCheckBox>(form, "remind")->setChecked(true);
        });
        click(&dialog, "new");
        QTRY_COMPARE(view->model()->rowCount(), 4);
        QCOMPARE(cell(view, 3, 0), QStringLiteral("Combinaison"));
        QCOMPARE(cell(view, 3, 3), QStringLiteral("02.2005*"));
        QCOMPARE(child<QLabel>(&dialog, "fileName")->text(), path + QStringLiteral(" *"));
        QCOMPARE(dialog.items()[3].article, std::string("Combinaison \xe9tanche"));
        QCOMPARE(dialog.items()[3].price, 1200.5f);

        // The cost summary, for all users and then for Anna.
        prompts.answer(QStringLiteral("&Quitter"), nullptr, [](QWidget *costs) {
            auto *table = child<QTreeWidget>(costs, "costs");
            QCOMPARE(table->topLevelItem(8)->text(1), QStringLiteral("4"));
            QCOMPARE(table->topLevelItem(8)->text(2), QStringLiteral("2550.50 EUR"));
            child<QComboBox>(costs, "user")->setCurrentIndex(1);
            QCOMPARE(table->topLevelItem(8)->text(1), QStringLiteral("2"));
            QCOMPARE(table->topLevelItem(4)->text(1), QStringLiteral("1"));
            uitest::saveScreenshot(costs, QStringLiteral("equipment-cost"));
        });
        click(&dialog, "cost");

        // Deleting asks with the category and the article.
        view->setCurrentIndex(view->model()->index(1, 0));
        prompts.message(QStringLiteral("Supprimer vraiment ´Bouteille : Bouteille 12 l´ ?"), QStringLiteral("Oui"));
        click(&dialog, "delete");
        QTRY_COMPARE(view->model()->rowCount(), 3);

        click(&dialog, "save");
        QCOMPARE(child<QLabel>(&dialog, "fileName")->text(), path);
        const auto saved = registers::loadEquipment(fromQt(path));
        QVERIFY(saved.ok());
        QCOMPARE(saved->size(), std::size_t { 3 });
        dialog.close();
    }

    void unsavedChangesAreAskedForOnQuit()
    {
        uitest::Prompts prompts;
        const QString path = m_dir->filePath(QStringLiteral("gear.dat"));
        m_context->settings.equipmentFile = fromQt(path);
        EquipmentDialog dialog(*m_context);
        dialog.show();
        prompts.answer(QStringLiteral("OK"), nullptr,
            [](QWidget *form) { child<QLineEdit>(form, "article")->setText(QStringLiteral("Masque")); });
        click(&dialog, "new");
        QTRY_VERIFY(dialog.state().modified);
        prompts.message(qstr(StringId::AskSaveEquipment), QStringLiteral("Annuler"));
        click(&dialog, "quit");
        QVERIFY(dialog.isVisible());
        prompts.answer(QStringLiteral("Oui"));
        click(&dialog, "quit");
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(registers::loadEquipment(fromQt(path))->size(), std::size_t { 1 });
    }

    // A damaged register is reported and never written over: the next save asks for a new name.
    void damagedFileIsReportedAndKept()
    {
        uitest::Prompts prompts;
        const QString path = m_dir->filePath(QStringLiteral("gear.dat"));
        QVERIFY(uitest::writeFile(path, QByteArray::fromHex("6400050001")));
        const QByteArray original = fileBytes(path);
        m_context->settings.equipmentFile = fromQt(path);

        QString message;
        prompts.message(QStringLiteral("endommagé"), QStringLiteral("OK"), &message);
        EquipmentDialog dialog(*m_context);
        QVERIFY(message.contains(path));
        dialog.show();
        QCOMPARE(child<QTreeView>(&dialog, "list")->model()->rowCount(), 0);
        QCOMPARE(child<QLabel>(&dialog, "fileName")->text(), QString());

        prompts.answer(QStringLiteral("OK"), nullptr,
            [](QWidget *form) { child<QLineEdit>(form, "article")->setText(QStringLiteral("Palmes")); });
        click(&dialog, "new");
        QTRY_VERIFY(dialog.state().modified);
        const QString other = m_dir->filePath(QStringLiteral("new.dat"));
        prompts.file(other);
        click(&dialog, "save");
        QTRY_VERIFY(!dialog.state().modified);
        QCOMPARE(fileBytes(path), original);
        QCOMPARE(registers::loadEquipment(fromQt(other))->size(), std::size_t { 1 });
        QCOMPARE(m_context->settings.equipmentFile, fromQt(other));
    }

    void addressesFormSortAndDelete()
    {
        uitest::Prompts prompts;
        const QString path = m_dir->filePath(QStringLiteral("friends.adr"));
        m_context->settings.addressFile = fromQt(path);
        AddressDialog dialog(*m_context);
        dialog.show();
        for (const char *id : { "details", "delete", "sort", "save", "print" })
            QVERIFY(!child<QPushButton>(&dialog, id)->isEnabled());
        const QStringList names[] = { { QStringLiteral("Anna"), QStringLiteral("Weber") },
            { QStringLiteral("Zoé"), QStringLiteral("Meier") } };
        for (const QStringList &name : names) {
            uitest::prompts().answer(QStringLiteral("OK"), nullptr, [name](QWidget *form) {
                child<QLineEdit>(form, "field0")->setText(name[0]);
                child<QLineEdit>(form, "field1")->setText(name[1]);
                child<QLineEdit>(form, "field3")->setText(QStringLiteral("Seestrasse 4"));
                child<QLineEdit>(form, "field4")->setText(QStringLiteral("8000"));
                child<QLineEdit>(form, "field5")->setText(QStringLiteral("Zürich"));
                child<QLineEdit>(form, "field7")->setText(QStringLiteral("044 123 45 67"));
                uitest::saveScreenshot(form, QStringLiteral("address-details"));
            });
            click(&dialog, "new");
            QTRY_COMPARE(dialog.addresses().size(), std::size_t(&name - names + 1));
        }
        auto *view = child<QTreeView>(&dialog, "list");
        QAbstractItemModelTester tester(view->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(cell(view, 0, 0), QStringLiteral("Weber, Anna"));
        QCOMPARE(cell(view, 0, 1), QStringLiteral("8000 Zürich, Seestrasse 4"));
        QCOMPARE(cell(view, 0, 2), QStringLiteral("044 123 45 67"));
        // Stored in the DOS set, as the dives' texts.
        QCOMPARE(dialog.addresses()[0].town, std::string("Z\x81rich"));
        click(&dialog, "sort");
        QCOMPARE(cell(view, 0, 0), QStringLiteral("Meier, Zoé"));
        uitest::saveScreenshot(&dialog, QStringLiteral("addresses"));

        view->setCurrentIndex(view->model()->index(1, 0));
        prompts.message(QStringLiteral("Voulez-vous vraiment supprimer ´Weber, Anna´ ?"), QStringLiteral("Oui"));
        click(&dialog, "delete");
        QTRY_COMPARE(view->model()->rowCount(), 1);
        click(&dialog, "save");
        QCOMPARE(registers::loadAddresses(fromQt(path))->size(), std::size_t { 1 });
        dialog.close();
    }

    // A name typed without an extension gets the register's own, so that its Open dialog lists the
    // file; the Open dialog takes the name as typed too.
    void typedNamesGetTheRegistersExtension_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("extension");
        QTest::newRow("equipment") << QStringLiteral("equipment") << QStringLiteral(".dat");
        QTest::newRow("addresses") << QStringLiteral("addresses") << QStringLiteral(".adr");
        QTest::newRow("teaching") << QStringLiteral("teaching") << QStringLiteral(".abn");
        QTest::newRow("trips") << QStringLiteral("trips") << QStringLiteral(".trp");
        QTest::newRow("certificates") << QStringLiteral("certificates") << QStringLiteral(".inf");
    }

    void typedNamesGetTheRegistersExtension()
    {
        uitest::Prompts prompts;
        QFETCH(QString, window);
        QFETCH(QString, extension);
        // The logbook's own registers ask for a name only when their file could not be read.
        const bool companion = window == QStringLiteral("trips") || window == QStringLiteral("certificates");
        if (companion) {
            loadSample();
            QVERIFY(uitest::writeFile(
                toQt(window == QStringLiteral("trips") ? m_context->logbook.trpPath() : m_context->logbook.infPath()),
                QByteArray("\x07", 1)));
            uitest::prompts().answer(QStringLiteral("OK"));
        }
        const std::unique_ptr<QDialog> dialog = openRegister(window);
        dialog->show();
        if (window == QStringLiteral("equipment") || window == QStringLiteral("addresses"))
            uitest::prompts().answer(QStringLiteral("OK"));
        click(dialog.get(), "new");
        const QString typed = m_dir->filePath(QStringLiteral("registre"));
        prompts.file(typed);
        click(dialog.get(), "save");
        QTRY_COMPARE(child<QLabel>(dialog.get(), "fileName")->text(), typed + extension);
        QVERIFY(QFileInfo::exists(typed + extension));
        QVERIFY(!QFileInfo::exists(typed));
        if (companion)
            return;
        const QString other = m_dir->filePath(QStringLiteral("autre"));
        QVERIFY(QFile::copy(typed + extension, other + extension));
        prompts.file(other);
        click(dialog.get(), "open");
        QTRY_COMPARE(child<QLabel>(dialog.get(), "fileName")->text(), other + extension);
    }

    void tripsEditInPlaceAndGoToTheFirstDive()
    {
        uitest::Prompts prompts;
        loadSample();
        int wentTo = 0;
        TripsDialog trips(*m_context, [&](int position) { wentTo = position; });
        TripsDialog *dialog = &trips;
        dialog->show();
        // A logbook without trips opens on one empty trip, and nothing to save yet.
        QCOMPARE(dialog->trips().size(), std::size_t { 1 });
        QVERIFY(!dialog->state().modified);
        QVERIFY(!child<QPushButton>(dialog, "goTo")->isEnabled());

        auto *destination = child<QLineEdit>(dialog, "destination");
        QTest::keyClicks(destination, QStringLiteral("Mer Rouge"));
        auto *first = child<QLineEdit>(dialog, "firstDay");
        first->setFocus();
        QTest::keyClicks(first, QStringLiteral("1.6.04"));
        QTest::keyClick(first, Qt::Key_Return);
        QCOMPARE(first->text(), QStringLiteral("01.06.2004"));
        // Dive numbers are read when the field is left; a fraction is refused naming the field.
        auto *firstDive = child<QLineEdit>(dialog, "firstDive");
        firstDive->selectAll();
        QTest::keyClicks(firstDive, QStringLiteral("3,5"));
        prompts.message(QStringLiteral("« Plongée de: »"));
        QTest::keyClick(firstDive, Qt::Key_Return);
        QVERIFY(prompts.done());
        QCOMPARE(dialog->trips().front().firstDive, 0);
        firstDive->selectAll();
        QTest::keyClicks(firstDive, QStringLiteral("3"));
        QTest::keyClick(firstDive, Qt::Key_Return);
        auto *lastDive = child<QLineEdit>(dialog, "lastDive");
        lastDive->selectAll();
        QTest::keyClicks(lastDive, QStringLiteral("5.0"));
        QTest::keyClick(lastDive, Qt::Key_Return);
        child<QPlainTextEdit>(dialog, "remarks")->insertPlainText(QStringLiteral("Croisière"));
        auto *view = child<QTreeView>(dialog, "list");
        QCOMPARE(cell(view, 0, 0), QStringLiteral("01.06.2004"));
        QCOMPARE(cell(view, 0, 1), QStringLiteral("Mer Rouge"));
        QCOMPARE(cell(view, 0, 2), QStringLiteral("00003-00005"));
        QVERIFY(child<QLabel>(dialog, "fileName")->text().endsWith(QStringLiteral(".trp *")));
        click(dialog, "goTo");
        QCOMPARE(wentTo, 3);
        uitest::saveScreenshot(dialog, QStringLiteral("trips"));

        click(dialog, "save");
        const auto saved = registers::loadTrips(m_context->logbook.trpPath());
        QVERIFY(saved.ok());
        QCOMPARE(saved->front().remarks, std::string("Croisi\xe8re"));
        QCOMPARE(saved->front().firstDay, logbook::dayNumber(1, 6, 2004));

        // A first dive beyond the logbook leads nowhere.
        firstDive->selectAll();
        QTest::keyClicks(firstDive, QStringLiteral("999"));
        QTest::keyClick(firstDive, Qt::Key_Return);
        wentTo = 0;
        click(dialog, "goTo");
        QCOMPARE(wentTo, 0);
        prompts.answer(QStringLiteral("Non"));
        dialog->close();
    }

    void teachingTotalsAndEnabling()
    {
        uitest::Prompts prompts;
        const QString path = m_dir->filePath(QStringLiteral("courses.abn"));
        m_context->settings.trainingRecordFile = fromQt(path);
        TeachingDialog dialog(*m_context);
        dialog.show();
        QCOMPARE(child<QLabel>(&dialog, "total")->text(), QStringLiteral("0"));
        for (const char *id : { "delete", "sort", "save", "print" })
            QVERIFY(!child<QPushButton>(&dialog, id)->isEnabled());
        const int hours[][2] = { { 4, 2 }, { 6, 0 }, { 0, 8 } };
        for (const auto &h : hours) {
            click(&dialog, "new");
            QCOMPARE(dialog.focusWidget(), child<QLineEdit>(&dialog, "activity"));
            QTest::keyClicks(child<QLineEdit>(&dialog, "activity"), QStringLiteral("Cours Niveau 1"));
            // Hours are read when the field is left; Return leaves it as Tab does.
            auto *theory = child<QLineEdit>(&dialog, "theory");
            theory->selectAll();
            QTest::keyClicks(theory, QString::number(h[0]));
            QTest::keyClick(theory, Qt::Key_Return);
            auto *practice = child<QLineEdit>(&dialog, "practice");
            practice->selectAll();
            QTest::keyClicks(practice, QString::number(h[1]) + QStringLiteral(",0"));
            QTest::keyClick(practice, Qt::Key_Return);
        }
        QCOMPARE(child<QLabel>(&dialog, "totalTheory")->text(), QStringLiteral("10"));
        QCOMPARE(child<QLabel>(&dialog, "totalPractice")->text(), QStringLiteral("10"));
        QCOMPARE(child<QLabel>(&dialog, "total")->text(), QStringLiteral("20"));
        uitest::saveScreenshot(&dialog, QStringLiteral("teaching"));
        click(&dialog, "save");
        QCOMPARE(registers::loadTeaching(fromQt(path))->size(), std::size_t { 3 });

        // Hours are whole in the file: a fraction is refused naming the field, never cut to 2.
        auto *theory = child<QLineEdit>(&dialog, "theory");
        theory->selectAll();
        QTest::keyClicks(theory, QStringLiteral("2,5"));
        prompts.message(QStringLiteral("« Heures de théorie »"));
        QTest::keyClick(theory, Qt::Key_Return);
        QVERIFY(prompts.done());
        QCOMPARE(theory->text(), QStringLiteral("0"));
        QCOMPARE(dialog.records().back().theoryHours, 0);
        QCOMPARE(child<QLabel>(&dialog, "totalTheory")->text(), QStringLiteral("10"));
        dialog.close();
    }

    void certificatesFromTheOlderLayoutAreKept()
    {
        loadSample();
        // The old fixed layout: one entry, the diver and the club.
        QByteArray old(2 + 1396, '\0');
        old[0] = 1;
        std::memcpy(old.data() + 2, "Niveau 2", 8);
        const std::uint32_t date = logbook::dayNumber(5, 3, 2004);
        for (int i = 0; i < 4; ++i)
            old[2 + 20 + i] = static_cast<char>((date >> (8 * i)) & 0xFF);
        const float cost = 120.5f;
        std::memcpy(old.data() + 2 + 24, &cost, 4);
        std::memcpy(old.data() + 2 + 952, "Anna", 4);
        const QString inf = toQt(m_context->logbook.infPath());
        QVERIFY(uitest::writeFile(inf, old));
        m_context->settings.currency = "EUR";

        CertificatesDialog dialog(*m_context);
        dialog.show();
        QCOMPARE(child<QLineEdit>(&dialog, "diver")->text(), QStringLiteral("Anna"));
        QCOMPARE(child<QLineEdit>(&dialog, "description")->text(), QStringLiteral("Niveau 2"));
        QCOMPARE(child<QLineEdit>(&dialog, "date")->text(), QStringLiteral("05.03.2004"));
        QCOMPARE(child<QLabel>(&dialog, "costTotal")->text(), QStringLiteral("120.50 EUR"));
        QCOMPARE(fileBytes(inf), old);

        click(&dialog, "new");
        QTest::keyClicks(child<QLineEdit>(&dialog, "category"), QStringLiteral("Nitrox"));
        auto *costField = child<QLineEdit>(&dialog, "cost");
        costField->setFocus();
        costField->selectAll();
        QTest::keyClicks(costField, QStringLiteral("80"));
        QTest::keyClick(costField, Qt::Key_Return);
        QCOMPARE(child<QLabel>(&dialog, "costTotal")->text(), QStringLiteral("200.50 EUR"));
        uitest::saveScreenshot(&dialog, QStringLiteral("certificates"));
        click(&dialog, "save");
        QCOMPARE(fileBytes(inf + QStringLiteral(".bak")), old);
        const auto saved = registers::loadCertificates(fromQt(inf));
        QVERIFY(saved.ok());
        QCOMPARE(saved->certificates.size(), std::size_t { 2 });
        QVERIFY(!saved->fromLegacyLayout);
        dialog.close();
    }

    void forecastComputesAndKeepsItsJournal()
    {
        uitest::Prompts prompts;
        loadSample();
        // Today lies a little after the sample's last dive.
        const logbook::CalendarDate last
            = logbook::calendarDate(m_context->logbook.dive(m_context->logbook.diveCount())->date);
        m_clock.set(m_clock.fromLocal({ last.year + 1, 2, 10, 12, 0, 0 }));
        ForecastDialog dialog(m_context->logbook);
        dialog.show();
        const int dives = m_context->logbook.diveCount();
        QCOMPARE(child<QLineEdit>(&dialog, "target")->text(), QString::number((dives + 100) / 100 * 100));
        QVERIFY(!child<QPushButton>(&dialog, "store")->isEnabled());
        click(&dialog, "compute");
        QVERIFY(!child<QLabel>(&dialog, "result")->text().isEmpty());
        click(&dialog, "store");
        auto *journal = child<QListWidget>(&dialog, "journal");
        QCOMPARE(journal->count(), 2);
        QVERIFY(journal->item(1)->text().contains(QStringLiteral("plongées atteintes le")));
        child<QRadioButton>(&dialog, "perDay")->click();
        uitest::saveScreenshot(&dialog, QStringLiteral("forecast"));
        QCOMPARE(registers::loadJournal(m_context->logbook.prgPath())->entries.size(), std::size_t { 2 });
        click(&dialog, "delete");
        QCOMPARE(journal->count(), 0);
        QCOMPARE(registers::loadJournal(m_context->logbook.prgPath())->entries.size(), std::size_t { 0 });

        // The target reads "120,0" and "120.0" as 120; a fraction or junk is refused naming the field.
        auto *target = child<QLineEdit>(&dialog, "target");
        for (const QString &typed : { QStringLiteral("120,0"), QStringLiteral("120.0") }) {
            target->setText(typed);
            click(&dialog, "compute");
            QCOMPARE(dialog.computedTarget(), 120);
        }
        for (const QString &junk : { QStringLiteral("120,5"), QStringLiteral("cent") }) {
            target->setText(junk);
            uitest::prompts().message(QStringLiteral("« Objectif (plongées) »"));
            click(&dialog, "compute");
            QCOMPARE(dialog.computedTarget(), 120);
        }
        dialog.close();
    }

    // Start-up with "Contrôle automatique" on and an item due shows the reminder once.
    void serviceReminderAtStartUp()
    {
        uitest::Prompts prompts;
        qputenv("ZORV_CONFIG_DIR", m_dir->path().toUtf8());
        const QString gearPath = m_dir->filePath(QStringLiteral("gear.dat"));
        QVERIFY(registers::saveEquipment(fromQt(gearPath), { gear(0, "Apeks", "Anna", 3, 2005) }));
        {
            AppContext setup;
            setup.load(fromQt(m_dir->path()), { 1024, 768 });
            setup.settings.equipmentFile = fromQt(gearPath);
            setup.settings.equipmentAutocheck = true;
            QVERIFY(setup.saveAll());
        }
        prompts.message(qstr(StringId::ServiceReminder));
        Application app;
        QVERIFY(app.start(parseArguments({ QStringLiteral("--no-splash") }, fromQt(m_dir->path()))));
        QTRY_VERIFY(prompts.done());
        // Each register is on the Extras menu with its key.
        for (const auto &[command, key] :
            { std::pair { app::Command::Equipment, Qt::Key_F10 }, std::pair { app::Command::Addresses, Qt::Key_F11 },
                std::pair { app::Command::Certificates, Qt::Key_F1 } }) {
            bool found = false;
            for (QAction *action : app.mainWindow()->findChildren<QAction *>())
                if (action->shortcut() == QKeySequence(key))
                    found = true;
            QVERIFY2(found, qPrintable(QString::number(static_cast<int>(command))));
        }
        // F10 opens the equipment register on the file of the settings.
        prompts.modal([&](QDialog *dialog) { QCOMPARE(child<QLabel>(dialog, "fileName")->text(), gearPath); });
        for (QAction *action : app.mainWindow()->findChildren<QAction *>())
            if (action->shortcut() == QKeySequence(Qt::Key_F10))
                action->trigger();
        QVERIFY(prompts.done());
        app.mainWindow()->hide();
    }

    void noReminderBeforeTheMonthOrWithTheCheckOff()
    {
        qputenv("ZORV_CONFIG_DIR", m_dir->path().toUtf8());
        const QString gearPath = m_dir->filePath(QStringLiteral("gear.dat"));
        QVERIFY(registers::saveEquipment(fromQt(gearPath), { gear(0, "Apeks", "Anna", 4, 2005) }));
        m_context->settings.equipmentFile = fromQt(gearPath);
        m_context->settings.equipmentAutocheck = true;
        QVERIFY(!equipmentServiceDue(*m_context));
        m_clock.set(m_clock.fromLocal({ 2005, 4, 1, 0, 0, 0 }));
        QVERIFY(equipmentServiceDue(*m_context));
        m_context->settings.equipmentAutocheck = false;
        QVERIFY(!equipmentServiceDue(*m_context));
    }

private:
    std::unique_ptr<QDialog> openRegister(const QString &window)
    {
        if (window == QStringLiteral("equipment"))
            return std::make_unique<EquipmentDialog>(*m_context);
        if (window == QStringLiteral("addresses"))
            return std::make_unique<AddressDialog>(*m_context);
        if (window == QStringLiteral("teaching"))
            return std::make_unique<TeachingDialog>(*m_context);
        if (window == QStringLiteral("trips"))
            return std::make_unique<TripsDialog>(*m_context, [](int) {});
        return std::make_unique<CertificatesDialog>(*m_context);
    }

    void loadSample()
    {
        for (const char *name : { "sample.log", "sample.add" })
            QVERIFY(QFile::copy(QStringLiteral(ZORV_SOURCE_DIR "/examples/") + QLatin1String(name),
                m_dir->filePath(QLatin1String(name))));
        const auto result = logbook::LogbookFile::loadFromPath(
            m_context->logbook, fromQt(m_dir->filePath(QStringLiteral("sample.log"))));
        QVERIFY(result.ok());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppContext> m_context;
    common::FixedClock m_clock { 0 };
};

QTEST_MAIN(RegistersTest)
#include "registers_test.moc"
