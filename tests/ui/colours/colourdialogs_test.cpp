#include "qtglue/qcolour.h"
#include "settings/colourfile.h"
#include "ui/colours/colourdialogs.h"
#include "ui/colours/colourpicker.h"
#include "ui/colours/nodecowindow.h"
#include "ui/common/appcontext.h"
#include "ui/common/canvasview.h"
#include "uitest.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

using namespace zorv;
using settings::NoDecoColour;
using settings::ProfileColour;

namespace {

using uitest::click;
using uitest::countPixels;
using uitest::findByText;

void click(QWidget *parent, const QString &text)
{
    click(findByText(parent, text));
}

// Answers the next colour picker with `colour`.
void pickNext(const QColor &colour)
{
    uitest::prompts().modal([colour](QWidget *modal) {
        auto *picker = qobject_cast<QColorDialog *>(modal);
        QVERIFY(picker);
        picker->setCurrentColor(colour);
        picker->accept();
    });
}

// Answers the next file dialog, which offers the colour files, with `path`.
void chooseFileNext(const QString &path)
{
    uitest::prompts().file(path, [](QFileDialog &dialog) {
        QCOMPARE(uitest::child<QLineEdit>(&dialog, "fileNameEdit")->text(), QStringLiteral("*.cst"));
    });
}

QImage grabChart(QWidget *dialog)
{
    QList<ui::CanvasView *> charts = dialog->findChildren<ui::CanvasView *>();
    return charts.front()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void showAndWait(QWidget *w)
{
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
}

settings::ProfileColours someProfileColours()
{
    settings::ProfileColours c;
    for (std::size_t i = 0; i < c.size(); ++i)
        c.colours[i] = canvas::rgb(static_cast<int>(30 * i), 90, static_cast<int>(200 - 20 * i));
    return c;
}

} // namespace

class ColourDialogsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ui::AppContext m_context;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_context.load(m_dir.path().toStdString(), settings::ScreenSize { 1280, 1024 });
    }

    void pickedProfileColourReachesTheRightRoleAndThePreview()
    {
        uitest::Prompts prompts;
        ui::ProfileColoursDialog dialog(settings::kDefaultProfileColours, logbook::UnitSystem::Metric);
        showAndWait(&dialog);
        uitest::saveScreenshot(&dialog, QStringLiteral("colours_profile"));
        const QColor green(10, 200, 30);
        QCOMPARE(countPixels(grabChart(&dialog), green), 0);

        // The third button edits the second profile, which is the second colour.
        click(&dialog, QStringLiteral("P&rofil 2"));
        pickNext(green);
        click(&dialog, QStringLiteral("&Définir la couleur"));
        QCOMPARE(dialog.colours()[ProfileColour::ClipProfile], canvas::rgb(10, 200, 30));
        QCOMPARE(
            dialog.colours()[ProfileColour::Background], settings::kDefaultProfileColours[ProfileColour::Background]);
        QVERIFY(countPixels(grabChart(&dialog), green) > 100);

        // A cancelled picker keeps the colour.
        prompts.modal([](QWidget *) {});
        click(&dialog, QStringLiteral("&Définir la couleur"));
        QCOMPARE(dialog.colours()[ProfileColour::ClipProfile], canvas::rgb(10, 200, 30));

        click(&dialog, QStringLiteral("D&éfaut"));
        QCOMPARE(dialog.colours(), settings::kDefaultProfileColours);
        QCOMPARE(countPixels(grabChart(&dialog), green), 0);
    }

    void reopensOnTheRoleLastChosen()
    {
        {
            ui::ProfileColoursDialog dialog(settings::kDefaultProfileColours, logbook::UnitSystem::Metric);
            showAndWait(&dialog);
            click(&dialog, QStringLiteral("&Signal"));
        }
        ui::ProfileColoursDialog dialog(settings::kDefaultProfileColours, logbook::UnitSystem::Metric);
        QVERIFY(findByText(&dialog, QStringLiteral("&Signal"))->isChecked());
        QCOMPARE(dialog.currentSlot(), 7);
    }

    void colourFileRoundTripsThroughSaveAndOpen()
    {
        uitest::Prompts prompts;
        const QString path = m_dir.filePath(QStringLiteral("theme.cst"));
        ui::ProfileColoursDialog dialog(someProfileColours(), logbook::UnitSystem::Imperial);
        showAndWait(&dialog);
        uitest::saveScreenshot(&dialog, QStringLiteral("colours_profile_imperial"));

        chooseFileNext(path);
        click(&dialog, QStringLiteral("Sa&uver"));
        QCOMPARE(std::filesystem::file_size(path.toStdString()), settings::kColourFileSize);

        click(&dialog, QStringLiteral("D&éfaut"));
        chooseFileNext(path);
        click(&dialog, QStringLiteral("&Ouvrir"));
        QCOMPARE(dialog.colours(), someProfileColours());

        // A file that is not there changes nothing and says nothing.
        click(&dialog, QStringLiteral("D&éfaut"));
        prompts.modal([](QWidget *) {});
        click(&dialog, QStringLiteral("&Ouvrir"));
        QCOMPARE(dialog.colours(), settings::kDefaultProfileColours);
    }

    void onlyOkMakesTheEditedColoursActive()
    {
        uitest::Prompts prompts;
        m_context.settings.profileColours = someProfileColours();
        prompts.modal([](QWidget *modal) { click(modal, QStringLiteral("D&éfaut")); });
        QVERIFY(!ui::showProfileColoursDialog(m_context, nullptr));
        QCOMPARE(m_context.settings.profileColours, someProfileColours());

        prompts.modal([](QWidget *modal) {
            click(modal, QStringLiteral("D&éfaut"));
            click(modal, QStringLiteral("OK"));
        });
        QVERIFY(ui::showProfileColoursDialog(m_context, nullptr));
        QCOMPARE(m_context.settings.profileColours, settings::kDefaultProfileColours);
    }

    void noDecoDialogMapsDiagramAndTextToTheirRoles()
    {
        uitest::Prompts prompts;
        ui::NoDecoColoursDialog dialog(settings::kDefaultNoDecoColours);
        showAndWait(&dialog);
        uitest::saveScreenshot(&dialog, QStringLiteral("colours_nodeco"));

        click(&dialog, QStringLiteral("Diagramme"));
        pickNext(QColor(1, 2, 3));
        click(&dialog, QStringLiteral("Définir la &couleur"));
        click(&dialog, QStringLiteral("Texte"));
        pickNext(QColor(4, 5, 6));
        click(&dialog, QStringLiteral("Définir la &couleur"));
        QCOMPARE(dialog.colours()[NoDecoColour::Lines], canvas::rgb(1, 2, 3));
        QCOMPARE(dialog.colours()[NoDecoColour::Text], canvas::rgb(4, 5, 6));

        click(&dialog, QStringLiteral("US Navy"));
        pickNext(QColor(250, 0, 250));
        click(&dialog, QStringLiteral("Définir la &couleur"));
        QVERIFY(countPixels(grabChart(&dialog), QColor(250, 0, 250)) > 20);
        click(&dialog, QStringLiteral("&Défaut"));
        QCOMPARE(dialog.colours(), settings::kDefaultNoDecoColours);
    }

    void statisticsSwatchesFollowTheWorkingColours()
    {
        uitest::Prompts prompts;
        ui::StatisticsColoursDialog dialog(settings::kDefaultStatisticsColours);
        showAndWait(&dialog);
        uitest::saveScreenshot(&dialog, QStringLiteral("colours_statistics"));
        auto swatchCentre = [&](int slot) {
            QWidget *swatch = dialog.swatch(slot);
            return swatch->grab().toImage().pixelColor(swatch->width() / 2, swatch->height() / 2);
        };
        QCOMPARE(swatchCentre(1), QColor(255, 64, 64));

        click(&dialog, QStringLiteral("&Eau de mer"));
        pickNext(QColor(20, 40, 60));
        click(&dialog, QStringLiteral("&Appl. couleur"));
        QCOMPARE(swatchCentre(1), QColor(20, 40, 60));
        QCOMPARE(swatchCentre(0), QColor(0, 0, 255));
        QCOMPARE(dialog.colours()[settings::StatisticsColour::SeaWater], canvas::rgb(20, 40, 60));
        click(&dialog, QStringLiteral("&Défaut"));
        QCOMPARE(swatchCentre(1), QColor(255, 64, 64));
    }

    void comparisonCheckBoxesChooseTheCurves()
    {
        m_context.settings.noDecoColours = settings::kDefaultNoDecoColours;
        const auto curveColour = [&](int c) {
            return qtglue::toQColor(m_context.settings.noDecoColours.colours[static_cast<std::size_t>(c)]);
        };
        {
            ui::NoDecoWindow window(m_context);
            window.resize(760, 500);
            showAndWait(&window);
            uitest::saveScreenshot(&window, QStringLiteral("nodeco_comparison"));
            QImage chart = grabChart(&window);
            for (int c = 0; c < 5; ++c)
                QVERIFY2(countPixels(chart, curveColour(c)) > 30, qPrintable(QString::number(c)));

            for (int c = 0; c < 5; ++c)
                click(window.curveBox(c));
            chart = grabChart(&window);
            for (int c = 0; c < 5; ++c)
                QCOMPARE(countPixels(chart, curveColour(c)), 0);
            uitest::saveScreenshot(&window, QStringLiteral("nodeco_comparison_empty"));

            click(window.curveBox(2));
            QVERIFY(countPixels(grabChart(&window), curveColour(2)) > 30);
        }
        // The choice holds for the rest of the run.
        ui::NoDecoWindow again(m_context);
        QVERIFY(again.curveBox(2)->isChecked());
        QVERIFY(!again.curveBox(0)->isChecked());
        for (int c = 0; c < 5; ++c)
            again.curveBox(c)->setChecked(true);
    }

    void comparisonColourButtonRecoloursTheChart()
    {
        uitest::Prompts prompts;
        ui::NoDecoWindow window(m_context);
        window.resize(760, 500);
        showAndWait(&window);
        prompts.modal([](QWidget *modal) {
            click(modal, QStringLiteral("Arrière plan"));
            pickNext(QColor(200, 220, 255));
            click(modal, QStringLiteral("Définir la &couleur"));
            click(modal, QStringLiteral("OK"));
        });
        click(&window, QStringLiteral("&Couleur"));
        QCOMPARE(m_context.settings.noDecoColours[NoDecoColour::Background], canvas::rgb(200, 220, 255));
        QCOMPARE(grabChart(&window).pixelColor(2, 2), QColor(200, 220, 255));
        uitest::saveScreenshot(&window, QStringLiteral("nodeco_comparison_recoloured"));
        m_context.settings.noDecoColours = settings::kDefaultNoDecoColours;
    }
};

ZORV_UI_TEST_MAIN(ColourDialogsTest)
#include "colourdialogs_test.moc"
