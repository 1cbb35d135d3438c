#include "logbook/generator.h"
#include "logbook/oemcharmap.h"
#include "logbook/suggestionlists.h"
#include "settings/options.h"
#include "ui/common/appcontext.h"
#include "ui/settings/optionsdialogs.h"
#include "uitest.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace zorv;
using zorv::ui::AppContext;

namespace {

using uitest::child;
using uitest::click;

constexpr settings::ScreenSize kScreen { 1024, 768 };

void press(QDialog *dialog, QDialogButtonBox::StandardButton which)
{
    QTest::mouseClick(dialog->findChild<QDialogButtonBox *>()->button(which), Qt::LeftButton);
}

void typeInto(QWidget *field, const QString &text)
{
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

// QTest types ASCII only; insert() goes through the same length limit as typing.
void typeAccented(QLineEdit *field, const QString &text)
{
    field->selectAll();
    field->insert(text);
}

// A generated logbook of metric dives with a scratch settings folder.
void open(AppContext &context, QTemporaryDir &dir)
{
    context.load(dir.path().toStdString(), kScreen);
    logbook::GeneratorOptions options;
    options.dives = 30;
    logbook::generateLogbook(context.logbook, options);
}

} // namespace

class OptionsDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppContext> m_context;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_context = std::make_unique<AppContext>();
        open(*m_context, *m_dir);
    }

    void switchingUnitsAndModeReachesTheLogbook()
    {
        uitest::Prompts prompts;
        AppContext &context = *m_context;
        context.settings.comPort = 3;
        QVERIFY(logbook::SuggestionLists(context.logbook).list(logbook::ListId::TankVolumes).get(0).find('.')
            != std::string::npos);

        prompts.modal([](QDialog *dialog) {
            QVERIFY(child<QRadioButton>(dialog, "metric")->isChecked());
            click(child<QRadioButton>(dialog, "imperial"));
            click(child<QCheckBox>(dialog, "advanced"));
            click(child<QCheckBox>(dialog, "dump"));
            typeAccented(child<QLineEdit>(dialog, "currency"), QStringLiteral("€"));
            typeInto(child<QLineEdit>(dialog, "menuText"), QStringLiteral("&Carte"));
            // 9 is no port of ours: the field keeps the one it had.
            typeInto(child<QSpinBox>(dialog, "comPort"), QStringLiteral("9"));
            uitest::saveScreenshot(dialog, QStringLiteral("options"));
            press(dialog, QDialogButtonBox::Ok);
        });
        QVERIFY(ui::showOptionsDialog(context, nullptr));

        const settings::Settings &s = context.settings;
        QCOMPARE(s.unitSystem, logbook::UnitSystem::Imperial);
        QVERIFY(!s.advancedMode);
        QVERIFY(s.dumpMemory);
        QCOMPARE(s.currency, std::string("€"));
        QCOMPARE(s.externalAppMenuText, std::string("&Carte"));
        QCOMPARE(s.comPort, 3);
        QCOMPARE(context.logbook.unitSystem(), logbook::UnitSystem::Imperial);
        QCOMPARE(context.logbook.mode(), logbook::Mode::Standard);
        // The tank volumes are offered in cubic feet now.
        const logbook::SuggestionLists lists(context.logbook);
        const logbook::ValueList &volumes = lists.list(logbook::ListId::TankVolumes);
        QVERIFY(volumes.count() > 0);
        for (int i = 0; i < volumes.count(); ++i)
            QVERIFY2(volumes.get(i).find('.') == std::string::npos, volumes.get(i).c_str());
    }

    void browsingPutsTheProgramIntoTheField()
    {
        uitest::Prompts prompts;
        AppContext &context = *m_context;
        const QString program = m_dir->filePath(QStringLiteral("navigateur"));
        QVERIFY(uitest::writeFile(program, {}));

        QStringList filters;
        prompts.modal([&](QDialog *modal) {
            uitest::prompts().file(program, [&](QFileDialog &files) { filters = files.nameFilters(); });
            QTest::mouseClick(child<QPushButton>(modal, "browseBrowser"), Qt::LeftButton);
            const QString shown = child<QLineEdit>(modal, "browser")->text();
            press(modal, QDialogButtonBox::Ok);
            QCOMPARE(shown, program);
        });
        QVERIFY(ui::showOptionsDialog(context, nullptr));

        QCOMPARE(filters,
            (QStringList { QStringLiteral("Navigateur web (*.exe)"), QStringLiteral("Tous les fichiers (*)") }));
        QCOMPARE(context.settings.browserFile, program.toStdString());
    }

    void defaultsReachANewDive()
    {
        uitest::Prompts prompts;
        AppContext &context = *m_context;

        // Reached from the options dialog, as the user does.
        prompts.modal([](QDialog *options) {
            uitest::prompts().modal([](QDialog *dialog) {
                click(child<QCheckBox>(dialog, "use"));
                child<QComboBox>(dialog, "altitudeClass")->setCurrentIndex(2);
                child<QComboBox>(dialog, "suit")->setCurrentIndex(4);
                child<QComboBox>(dialog, "tankMaterial")->setCurrentIndex(1);
                typeInto(child<QComboBox>(dialog, "tankVolume")->lineEdit(), QStringLiteral("12"));
                typeAccented(
                    child<QComboBox>(dialog, "model")->lineEdit(), QStringLiteral("Combinaison néoprène de sept mm"));
                typeInto(child<QLineEdit>(dialog, "weights"), QStringLiteral("8.5"));
                click(child<QRadioButton>(dialog, "decompression1"));
                click(child<QRadioButton>(dialog, "water1"));
                uitest::saveScreenshot(dialog, QStringLiteral("newdivedefaults"));
                press(dialog, QDialogButtonBox::Ok);
            });
            QTest::mouseClick(child<QPushButton>(options, "defaults"), Qt::LeftButton);
            click(child<QRadioButton>(options, "imperial"));
            press(options, QDialogButtonBox::Cancel);
        });
        // Cancelling the options drops their changes but keeps what the defaults dialog confirmed.
        QVERIFY(ui::showOptionsDialog(context, nullptr));
        QCOMPARE(context.settings.unitSystem, logbook::UnitSystem::Metric);
        QCOMPARE(context.logbook.unitSystem(), logbook::UnitSystem::Metric);

        logbook::DiveRecord dive;
        context.logbook.applyNewDiveDefaults(dive);
        QCOMPARE(int(dive.altitudeClass), 2);
        QCOMPARE(int(dive.suit), 4);
        QCOMPARE(int(dive.extra.tankMaterial), 1);
        QCOMPARE(int(dive.tankVolume), 1200);
        QCOMPARE(int(dive.extra.weights), 850);
        QCOMPARE(int(dive.diveType), 8 | 128);
        // The model field takes 25 characters.
        QCOMPARE(logbook::storedToDisplay(std::string(dive.extra.model.data(), 25)),
            std::string("Combinaison néoprène de s"));
        QCOMPARE(context.settings.newDiveDefaults.diveTypeMask, 8 | 128);
    }

    // Junk in the tank volume or the weights is refused naming the field, and the dialog stays for a fix;
    // "12,5" and "8.5" then read alike.
    void defaultsRefuseJunkNamingTheField()
    {
        uitest::Prompts prompts;
        AppContext &context = *m_context;
        QStringList refusals;
        bool stayedOpen = true;
        prompts.modal([&](QDialog *dialog) {
            QLineEdit *tank = child<QComboBox>(dialog, "tankVolume")->lineEdit();
            auto *weights = child<QLineEdit>(dialog, "weights");
            const auto refusedOk = [&] {
                QString seen;
                uitest::prompts().answer(QStringLiteral("OK"), &seen);
                press(dialog, QDialogButtonBox::Ok);
                refusals << seen;
                stayedOpen = stayedOpen && dialog->isVisible();
            };
            typeInto(tank, QStringLiteral("douze"));
            refusedOk();
            typeInto(tank, QStringLiteral("12,5"));
            typeInto(weights, QStringLiteral("8 kg"));
            refusedOk();
            typeInto(weights, QStringLiteral("8.5"));
            press(dialog, QDialogButtonBox::Ok);
        });
        QVERIFY(ui::showNewDiveDefaultsDialog(context, nullptr));
        QVERIFY(stayedOpen);
        QCOMPARE(refusals.size(), 2);
        QVERIFY2(refusals[0].contains(QStringLiteral("« Cont. bouteille »")), qPrintable(refusals[0]));
        QVERIFY2(refusals[1].contains(QStringLiteral("« Plombs »")), qPrintable(refusals[1]));
        QCOMPARE(int(context.settings.newDiveDefaults.tankVolume), 1250);
        QCOMPARE(int(context.settings.newDiveDefaults.weights), 850);
    }

    void defaultsOffLeaveNewDivesBlank()
    {
        uitest::Prompts prompts;
        AppContext &context = *m_context;
        context.settings.newDiveDefaults.apply = true;
        context.settings.newDiveDefaults.tankVolume = 1000;
        context.settings.newDiveDefaults.suit = 2;
        context.settings.unitSystem = logbook::UnitSystem::Imperial;
        context.applySettingsToLogbook();

        QString shownVolume;
        prompts.modal([&](QDialog *dialog) {
            shownVolume = child<QComboBox>(dialog, "tankVolume")->currentText();
            uitest::saveScreenshot(dialog, QStringLiteral("newdivedefaults-imperial"));
            click(child<QCheckBox>(dialog, "use"));
            press(dialog, QDialogButtonBox::Ok);
        });
        QVERIFY(ui::showNewDiveDefaultsDialog(context, nullptr));

        QCOMPARE(shownVolume, QStringLiteral("70"));
        logbook::DiveRecord dive;
        context.logbook.applyNewDiveDefaults(dive);
        QCOMPARE(dive, logbook::DiveRecord {});
        // The values stay for when the defaults are switched on again, unchanged by the imperial round trip.
        QCOMPARE(int(context.settings.newDiveDefaults.tankVolume), 1000);
        QCOMPARE(int(context.settings.newDiveDefaults.suit), 2);
    }

    void dataFieldsSelectWeights()
    {
        uitest::Prompts prompts;
        AppContext &context = *m_context;
        const auto weights = static_cast<std::size_t>(settings::DataField::Weights);

        prompts.modal([](QDialog *dialog) {
            auto *box = child<QCheckBox>(dialog, "field13");
            QCOMPARE(box->text(), QStringLiteral("&Plombs"));
            click(box);
            uitest::saveScreenshot(dialog, QStringLiteral("datafields"));
            press(dialog, QDialogButtonBox::Ok);
        });
        QVERIFY(ui::showDataFieldsDialog(context, nullptr));
        QVERIFY(!context.settings.dataFields[weights]);
        QVERIFY(context.settings.dataFields[0]);

        prompts.modal([](QDialog *dialog) {
            click(child<QCheckBox>(dialog, "field13"));
            press(dialog, QDialogButtonBox::Cancel);
        });
        QVERIFY(!ui::showDataFieldsDialog(context, nullptr));
        QVERIFY(!context.settings.dataFields[weights]);
    }
};

ZORV_UI_TEST_MAIN(OptionsDialogsTest)
#include "optionsdialogs_test.moc"
