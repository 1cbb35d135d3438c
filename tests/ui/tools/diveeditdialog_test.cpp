#include "logbook/daynumber.h"
#include "logbook/logbook.h"
#include "ui/common/appcontext.h"
#include "ui/tools/diveeditdialog.h"
#include "uitest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace zorv;
using logbook::DiveRecord;
using logbook::fixedText;
using logbook::setFixedText;

namespace {

// Counts what the logbook tells the document, so that "nothing changed" can be seen.
struct CountingObserver : logbook::LogbookObserver {
    int modified = 0;
    int changed = 0;
    void markModified() override { ++modified; }
    void diveChanged(int) override { ++changed; }
};

DiveRecord sampleDive(int day)
{
    DiveRecord d;
    d.date = logbook::dayNumber(day, 6, 2004);
    d.entryTime = 9 * 60 + 30;
    setFixedText(d.place, "Lac L\x82man");
    setFixedText(d.site, "La Belotte");
    d.weather = 1;
    d.airTemperature = 2337;
    d.suit = 4;
    d.tankVolume = 1200;
    d.maxDepth = 2345;
    d.duration = 52;
    d.minWaterTemperature = 655;
    d.airUsed = 14000;
    d.diveType = logbook::dive_type::kNoDeco | logbook::dive_type::kFreshWater;
    d.activities = 1;
    setFixedText(d.partners, "Anne");
    setFixedText(d.comment, "Ligne 1\r\nLigne 2");
    d.extra.weights = 650;
    d.extra.visibility = 700;
    d.extra.tankMaterial = 1;
    d.extra.tankPressure = 20000;
    d.extra.extraFlags = logbook::extra_flags::kBoat;
    setFixedText(d.extra.model, "Semi 7mm", logbook::kModelLength);
    d.airConsumption = 13.5f;
    return d;
}

void typeInto(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void clickOk(QWidget *dialog)
{
    QTest::mouseClick(dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

QString modeName(logbook::UnitSystem units, logbook::Mode mode)
{
    return QLatin1String(units == logbook::UnitSystem::Metric ? "metric" : "imperial")
        + QLatin1String(mode == logbook::Mode::Advanced ? "-advanced" : "-standard");
}

} // namespace

using uitest::child;

class DiveEditDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_context = std::make_unique<ui::AppContext>();
        m_context->logbook.setComputerInfo(&m_context->catalogue);
        m_context->logbook.insertDive(sampleDive(1));
        m_context->logbook.insertDive(sampleDive(2));
        m_context->logbook.setObserver(&m_observer);
        m_observer = {};
        m_context->diveEditSwitches = {};
    }

    void cleanup()
    {
        m_context->logbook.setObserver(nullptr);
        m_context.reset();
    }

private:
    // The dialog shown on `dive` at `position` (0: a new dive).
    std::unique_ptr<ui::DiveEditDialog> openOn(const DiveRecord &dive, int position = 0)
    {
        auto dialog = std::make_unique<ui::DiveEditDialog>(*m_context);
        dialog->setRecord(dive, position);
        dialog->show();
        return dialog;
    }

    // Presses OK and returns the dive the dialog hands back.
    static DiveRecord acceptedRecord(ui::DiveEditDialog &dialog)
    {
        clickOk(&dialog);
        const auto out = dialog.changedRecord();
        if (!out)
            qFatal("the dialog handed back no dive");
        return *out;
    }

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<int>("units");
        QTest::addColumn<int>("mode");
        for (auto units : { logbook::UnitSystem::Metric, logbook::UnitSystem::Imperial })
            for (auto mode : { logbook::Mode::Advanced, logbook::Mode::Standard })
                QTest::newRow(modeName(units, mode).toLatin1().constData())
                    << static_cast<int>(units) << static_cast<int>(mode);
    }

    // OK without typing must leave the logbook alone; typed values must land in stored units.
    void roundTrip()
    {
        uitest::Prompts prompts;
        QFETCH(int, units);
        QFETCH(int, mode);
        const auto unitSystem = static_cast<logbook::UnitSystem>(units);
        const auto bookMode = static_cast<logbook::Mode>(mode);
        logbook::Logbook &book = m_context->logbook;
        book.setUnitSystem(unitSystem);
        book.setMode(bookMode);
        book.setCurrentDive(2);
        const DiveRecord before = *book.dive(2);

        prompts.modal(clickOk);
        QVERIFY(!ui::editCurrentDive(*m_context, nullptr));
        QVERIFY(*book.dive(2) == before);
        QCOMPARE(m_observer.modified, 0);

        const bool metric = unitSystem == logbook::UnitSystem::Metric;
        const bool advanced = bookMode == logbook::Mode::Advanced;
        prompts.modal([&](QWidget *dialog) {
            QCOMPARE(
                child<QLineEdit>(dialog, "maxDepth")->text(), metric ? QStringLiteral("23.4") : QStringLiteral("77"));
            QCOMPARE(
                child<QLineEdit>(dialog, "airUsed")->text(), metric ? QStringLiteral("140") : QStringLiteral("2030"));
            QCOMPARE(child<QLineEdit>(dialog, "weights")->isVisible(), advanced);
            QCOMPARE(child<QCheckBox>(dialog, "shortNames")->isVisible(), !advanced);
            uitest::saveScreenshot(dialog, QStringLiteral("diveedit-") + modeName(unitSystem, bookMode));
            typeInto(child<QLineEdit>(dialog, "maxDepth"), metric ? QStringLiteral("30.5") : QStringLiteral("100"));
            typeInto(child<QLineEdit>(dialog, "airTemperature"), metric ? QStringLiteral("25") : QStringLiteral("77"));
            typeInto(child<QLineEdit>(dialog, "airUsed"), metric ? QStringLiteral("200") : QStringLiteral("2900"));
            if (advanced)
                typeInto(child<QLineEdit>(dialog, "weights"), metric ? QStringLiteral("8") : QStringLiteral("10"));
            clickOk(dialog);
        });
        QVERIFY(ui::editCurrentDive(*m_context, nullptr));
        const DiveRecord after = *book.dive(2);
        QCOMPARE(after.maxDepth, metric ? 3050 : 3047);
        QCOMPARE(after.airTemperature, 2500);
        QCOMPARE(after.airUsed, 20000);
        QCOMPARE(after.extra.weights, advanced ? (metric ? 800 : 373) : 650);
        QCOMPARE(after.minWaterTemperature, before.minWaterTemperature); // untouched, not rounded
        QCOMPARE(fixedText(after.comment), fixedText(before.comment));
        QVERIFY(m_observer.modified > 0);
    }

    void computerDiveIsLockedUntilFreeData()
    {
        DiveRecord dive = sampleDive(3);
        dive.computerType = 68;
        dive.profileLength = 20;
        dive.profileHeader = { 1, 2, 3, 4, 5, 6, 7, 8 };
        const auto owner = openOn(dive);
        ui::DiveEditDialog &dialog = *owner;
        auto *depth = child<QLineEdit>(&dialog, "maxDepth");
        QVERIFY(!depth->isEnabled());
        QVERIFY(!child<QPushButton>(&dialog, "warnings")->isEnabled());
        QVERIFY(child<QLineEdit>(&dialog, "airTemperature")->isEnabled());
        QVERIFY(child<QComboBox>(&dialog, "airComputers")->isVisible());
        QCOMPARE(child<QComboBox>(&dialog, "airComputers")->currentText(), QStringLiteral("Aladin Air X/Z [68]"));
        uitest::saveScreenshot(&dialog, QStringLiteral("diveedit-locked"));

        uitest::click(child<QCheckBox>(&dialog, "freeData"));
        QVERIFY(depth->isEnabled());
        typeInto(depth, QStringLiteral("40"));
        const DiveRecord out = acceptedRecord(dialog);
        QCOMPARE(out.maxDepth, 4000);
        QVERIFY(m_context->diveEditSwitches.freeData);
    }

    // The separator rules are the form's (core tests); here the button must follow the choice and add it.
    void addPartnerKeepsWithinTheField()
    {
        DiveRecord dive = sampleDive(3);
        setFixedText(dive.partners, std::string(78, 'a'));
        const auto owner = openOn(dive);
        auto *add = child<QPushButton>(owner.get(), "addPartner");
        QVERIFY(!add->isEnabled());
        child<QComboBox>(owner.get(), "partnerChoice")->setCurrentText(QStringLiteral("B"));
        QVERIFY(add->isEnabled());
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(
            child<QLineEdit>(owner.get(), "partners")->text(), QString(78, QLatin1Char('a')) + QStringLiteral(",B"));
    }

    void previousDiveFillsTheConditions()
    {
        logbook::Logbook &book = m_context->logbook;
        DiveRecord second = *book.dive(2);
        setFixedText(second.place, "");
        second.suit = 0;
        book.putDive(second, 2);
        {
            ui::DiveEditDialog dialog(*m_context);
            dialog.setRecord(*book.dive(1), 1);
            QVERIFY(!child<QPushButton>(&dialog, "previousDive")->isEnabled());
        }
        const auto owner = openOn(second, 2);
        ui::DiveEditDialog &dialog = *owner;
        auto *previous = child<QPushButton>(&dialog, "previousDive");
        QVERIFY(previous->isEnabled());
        QCOMPARE(child<QComboBox>(&dialog, "place")->currentText(), QString());
        QTest::mouseClick(previous, Qt::LeftButton);
        QCOMPARE(child<QComboBox>(&dialog, "place")->currentText(), QStringLiteral("Lac Léman"));
        QCOMPARE(child<QComboBox>(&dialog, "suit")->currentIndex(), 4);
        const DiveRecord out = acceptedRecord(dialog);
        QCOMPARE(out.suit, 4);
        QCOMPARE(out.date, second.date);
    }

    void secondSetInStandardModeGoesIntoTheText()
    {
        m_context->logbook.setMode(logbook::Mode::Standard);
        const auto owner = openOn(sampleDive(3));
        ui::DiveEditDialog &dialog = *owner;
        uitest::click(child<QCheckBox>(&dialog, "secondSet1"));
        QCOMPARE(child<QLabel>(&dialog, "result")->text(), QStringLiteral("Pl. solo"));
        uitest::click(child<QCheckBox>(&dialog, "shortNames"));
        QCOMPARE(child<QCheckBox>(&dialog, "secondSet1")->text(), QStringLiteral("Solo"));
        QCOMPARE(child<QLabel>(&dialog, "result")->text(), QStringLiteral("Solo"));
        uitest::saveScreenshot(&dialog, QStringLiteral("diveedit-standard-short-names"));
    }

    void commentLengthFollowsTheMode()
    {
        for (auto mode : { logbook::Mode::Standard, logbook::Mode::Advanced }) {
            m_context->logbook.setMode(mode);
            ui::DiveEditDialog dialog(*m_context);
            dialog.setRecord(DiveRecord {}, 0);
            dialog.show();
            auto *comment = child<QPlainTextEdit>(&dialog, "comment");
            comment->setFocus();
            comment->insertPlainText(QString(600, QLatin1Char('x')));
            QCOMPARE(comment->toPlainText().size(), mode == logbook::Mode::Standard ? 255 : 510);
        }
    }

    void warningsDialogKeepsTheUnboxedBits()
    {
        uitest::Prompts prompts;
        DiveRecord dive = sampleDive(3);
        dive.warnings = 0x02;
        const auto owner = openOn(dive);
        ui::DiveEditDialog &dialog = *owner;
        QStringList labels;
        prompts.modal([&labels](QWidget *warnings) {
            uitest::saveScreenshot(warnings, QStringLiteral("diveedit-warnings"));
            const auto boxes = warnings->findChildren<QCheckBox *>();
            for (QCheckBox *box : boxes)
                labels << box->text();
            if (boxes.size() == 4)
                boxes[1]->setChecked(true);
            clickOk(warnings);
        });
        QTest::mouseClick(child<QPushButton>(&dialog, "warnings"), Qt::LeftButton);
        QCOMPARE(labels,
            QStringList({ QStringLiteral("&Remontée"), QStringLiteral("&Déco"), QStringLiteral("&Travail"),
                QStringLiteral("&SOS") }));
        prompts.modal([](QWidget *warnings) {
            warnings->findChildren<QCheckBox *>()[3]->setChecked(true);
            warnings->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
        });
        QTest::mouseClick(child<QPushButton>(&dialog, "warnings"), Qt::LeftButton);
        const DiveRecord out = acceptedRecord(dialog);
        QCOMPARE(out.warnings, 0x0A);
    }

    // The defaults fill a new dive, and the date typed for one is offered for the next.
    void newDiveTakesDefaultsAndRemembersTheDate()
    {
        uitest::Prompts prompts;
        logbook::Logbook &book = m_context->logbook;
        logbook::NewDiveDefaults defaults;
        defaults.apply = true;
        defaults.suit = 6;
        defaults.tankVolume = 1500;
        book.setNewDiveDefaults(defaults);

        prompts.modal([&](QWidget *dialog) {
            QVERIFY(!child<QPushButton>(dialog, "previousDive")->isEnabled());
            QCOMPARE(child<QComboBox>(dialog, "suit")->currentIndex(), 6);
            QCOMPARE(child<QComboBox>(dialog, "tankVolume")->currentText(), QStringLiteral("15.0"));
            uitest::saveScreenshot(dialog, QStringLiteral("diveedit-new"));
            typeInto(child<QLineEdit>(dialog, "date"), QStringLiteral("5.3.2004"));
            typeInto(child<QLineEdit>(dialog, "time"), QStringLiteral("10:00"));
            clickOk(dialog);
        });
        QVERIFY(ui::newDive(*m_context, nullptr));
        QCOMPARE(book.diveCount(), 3);
        const DiveRecord *inserted = book.dive(1);
        QCOMPARE(inserted->date, logbook::dayNumber(5, 3, 2004));
        QCOMPARE(inserted->suit, 6);
        QCOMPARE(inserted->tankVolume, 1500);

        prompts.modal(
            [](QWidget *dialog) { QCOMPARE(child<QLineEdit>(dialog, "date")->text(), QStringLiteral("05.03.2004")); });
        QVERIFY(!ui::newDive(*m_context, nullptr));
        QCOMPARE(book.diveCount(), 3);
    }

    void impossibleValuesAreRefusedAndTheDialogStaysOpen()
    {
        uitest::Prompts prompts;
        DiveRecord dive = sampleDive(3);
        dive.computerType = 244; // a nitrox computer: its row must be there
        m_context->diveEditSwitches.freeData = true;
        const auto owner = openOn(dive);
        ui::DiveEditDialog &dialog = *owner;
        QCOMPARE(child<QLineEdit>(&dialog, "number")->text(), QStringLiteral("3"));
        QCOMPARE(child<QComboBox>(&dialog, "airComputers")->currentText(), QStringLiteral("Aladin Air X Nitrox [244]"));
        typeInto(child<QLineEdit>(&dialog, "time"), QStringLiteral("25:99"));
        prompts.message(QStringLiteral("Valeur impossible dans « Heure » : « 25:99 »."));
        clickOk(&dialog);
        QVERIFY(dialog.isVisible());
        QCOMPARE(child<QLineEdit>(&dialog, "time")->text(), QStringLiteral("25:99"));

        typeInto(child<QLineEdit>(&dialog, "time"), QStringLiteral("23:15"));
        const DiveRecord out = acceptedRecord(dialog);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(out.entryTime, 23 * 60 + 15);
        QCOMPARE(out.computerType, 244);
    }

    // A French diver types decimal commas: they are read as points, and text that is no number is refused by name.
    void decimalCommasAreReadAndJunkIsRefused()
    {
        uitest::Prompts prompts;
        const auto owner = openOn(DiveRecord {});
        ui::DiveEditDialog &dialog = *owner;
        // Leaving a field is a focus change, which needs the active window.
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        typeInto(child<QLineEdit>(&dialog, "maxDepth"), QStringLiteral("18,5"));
        typeInto(child<QLineEdit>(&dialog, "airUsed"), QStringLiteral("150"));
        // Leaving the air-used field stores the controls and shows them again.
        child<QLineEdit>(&dialog, "time")->setFocus();
        QCOMPARE(child<QLineEdit>(&dialog, "maxDepth")->text(), QStringLiteral("18.5"));

        typeInto(child<QLineEdit>(&dialog, "airTemperature"), QStringLiteral("18,5°"));
        prompts.message(QStringLiteral("« Temp. air » : « 18,5° »"));
        clickOk(&dialog);
        QVERIFY(dialog.isVisible());

        typeInto(child<QLineEdit>(&dialog, "airTemperature"), QStringLiteral("18,5"));
        uitest::saveScreenshot(&dialog, QStringLiteral("diveedit-decimal-comma"));
        const DiveRecord out = acceptedRecord(dialog);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(out.airTemperature, 1850);
        QCOMPARE(out.maxDepth, 1850);
    }

    void preparedDiveIsInsertedOnOk()
    {
        uitest::Prompts prompts;
        DiveRecord prepared = sampleDive(20);
        prepared.computerType = 179;
        prompts.modal([](QWidget *dialog) {
            QVERIFY(child<QComboBox>(dialog, "importComputers")->isVisible());
            QVERIFY(!child<QLineEdit>(dialog, "airTemperature")->isEnabled());
            clickOk(dialog);
        });
        QVERIFY(ui::newDiveFrom(*m_context, prepared, nullptr));
        QCOMPARE(m_context->logbook.diveCount(), 3);
        QCOMPARE(m_context->logbook.dive(3)->computerType, 179);
    }

private:
    std::unique_ptr<ui::AppContext> m_context;
    CountingObserver m_observer;
};

ZORV_UI_TEST_MAIN(DiveEditDialogTest)
#include "diveeditdialog_test.moc"
