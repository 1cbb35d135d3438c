#include "common/cformat.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/generator.h"
#include "logbook/units.h"
#include "profile/profilewindowlayout.h"
#include "qtglue/qcolour.h"
#include "ui/app/divepageview.h"
#include "ui/app/mainwindow.h"
#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"
#include "ui/profile/divedatawindow.h"
#include "ui/profile/profilepreview.h"
#include "ui/profile/profilewindow.h"
#include "uitest.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QImage>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using namespace zorv;
using settings::ProfileColour;

namespace {

using uitest::countPixels;
using uitest::findByText;

// Rows (or columns) of the plot in which most pixels differ: where a cursor line runs.
int crossedRows(const QImage &a, const QImage &b)
{
    int rows = 0;
    for (int y = 0; y < a.height(); ++y) {
        int changed = 0;
        for (int x = 0; x < a.width(); ++x)
            changed += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        rows += changed > a.width() / 2 ? 1 : 0;
    }
    return rows;
}

int crossedColumns(const QImage &a, const QImage &b)
{
    return crossedRows(a.transformed(QTransform().rotate(90)), b.transformed(QTransform().rotate(90)));
}

QImage picture(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class ProfileWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ui::AppContext m_context;
    int m_deep = 0; // a long, deep dive with a profile
    int m_other = 0; // another dive with a profile
    int m_flat = 0; // a dive without profile

    // Opens the window non-modally on a dive, as exec() would show it.
    std::unique_ptr<ui::ProfileWindow> open(int position, int *mainViewCalls = nullptr)
    {
        m_context.logbook.setCurrentDive(position);
        auto window = std::make_unique<ui::ProfileWindow>(m_context, [mainViewCalls] {
            if (mainViewCalls)
                ++*mainViewCalls;
        });
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qWarning("window not exposed");
        return window;
    }

    QWidget *graph(ui::ProfileWindow &window) { return window.findChild<QWidget *>(QStringLiteral("graph")); }

    // The graph x of the first pixel column that picks `sample`.
    int xOfSample(QWidget *graph, int sample)
    {
        const profile::TrackingRect rect = profile::graphTrackingRect({ graph->width(), graph->height() });
        const int count = m_context.logbook.dive(m_context.logbook.currentDive())->sampleCount;
        for (int x = rect.left; x <= rect.right; ++x)
            if (profile::cursorIndexAt(x, rect, count, -1) == sample)
                return x;
        return -1;
    }

    // The data window starts on the screen and, where the screen has room for
    // it, covers none of the profile window's controls (the small offscreen
    // screen may not have that room).
    static void expectOffTheControls(ui::ProfileWindow &window)
    {
        const QRect data = window.dataWindow()->frameGeometry();
        const QRect screen = window.screen()->availableGeometry();
        QVERIFY2(screen.contains(data.topLeft()), "off the screen");
        if (!screen.contains(data))
            return;
        for (QWidget *control : window.findChildren<QWidget *>()) {
            if (!control->isVisible()
                || !(qobject_cast<QAbstractButton *>(control) || qobject_cast<QListView *>(control)))
                continue;
            const QRect at(control->mapToGlobal(QPoint(0, 0)), control->size());
            QVERIFY2(!data.intersects(at),
                qPrintable(
                    control->objectName() + QLatin1Char(' ') + QLatin1String(control->metaObject()->className())));
        }
    }

    void resetSwitches()
    {
        m_context.settings.grid = true;
        m_context.settings.crosshair = true;
        m_context.settings.dataWindow = false;
        m_context.settings.profileColours = settings::kDefaultProfileColours;
        m_context.secondProfile = {};
        m_context.settings.unitSystem = logbook::UnitSystem::Metric;
        m_context.applySettingsToLogbook();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_context.load(m_dir.path().toStdString(), settings::ScreenSize { 1280, 1024 });
        logbook::generateLogbook(m_context.logbook, { 30, 3, 2020 });
        for (int p = 1; p <= m_context.logbook.diveCount(); ++p) {
            const logbook::DiveRecord *d = m_context.logbook.dive(p);
            if (d->profileLength == 0)
                m_flat = m_flat ? m_flat : p;
            else if (!m_deep && d->sampleCount > 60 && d->profileMaxDepth > 20)
                m_deep = p;
            else if (!m_other)
                m_other = p;
        }
        QVERIFY(m_deep && m_other && m_flat);
        // Warnings and a deco stretch, so the strip and the deco line have something to show.
        logbook::DiveRecord dive = *m_context.logbook.dive(m_deep);
        for (int i = 20; i < 30; ++i)
            dive.samples[static_cast<std::size_t>(i)].markers[0] |= 0x01;
        for (int i = dive.sampleCount - 14; i < dive.sampleCount - 10; ++i)
            dive.samples[static_cast<std::size_t>(i)].markers[0] |= 0x04;
        m_context.logbook.putDive(dive, m_deep);
    }

    void init() { resetSwitches(); }

    void mouseMovesTheCursorWithoutRedrawingTheChart()
    {
        auto window = open(m_deep);
        QWidget *chart = graph(*window);
        const logbook::DiveRecord &dive = *m_context.logbook.dive(m_deep);
        QCOMPARE(window->cursorIndex(), 0);
        QVERIFY(window->readout().depth.size() > 0);
        const QImage before = picture(chart);
        const int draws = window->graphDrawCount();

        const int sample = dive.sampleCount / 2;
        const int x = xOfSample(chart, sample);
        QVERIFY(x > 0);
        const int y = chart->height() / 2;
        QTest::mouseMove(chart, QPoint(x, y));
        QCOMPARE(window->cursorIndex(), sample);
        const float depth = std::fabs(dive.samples[static_cast<std::size_t>(sample)].depth);
        QCOMPARE(window->readout().depth, common::cformat("%.1f", depth));
        QCOMPARE(window->readout().elapsed, common::cformat("%d:", sample / 3));

        // The lines are drawn over the cached chart, which itself is not drawn again: black
        // between white edges, crossing where the mouse is (not at the curve's depth).
        const QImage crossed = picture(chart);
        QCOMPARE(window->graphDrawCount(), draws);
        QCOMPARE(crossedColumns(before, crossed), 3);
        QCOMPARE(crossedRows(before, crossed), 3);
        const QRgb black = qRgb(0, 0, 0);
        const QRgb white = qRgb(255, 255, 255);
        QCOMPARE(crossed.pixel(x, 40), black);
        QCOMPARE(crossed.pixel(x - 1, 40), white);
        QCOMPARE(crossed.pixel(x + 1, 40), white);
        QCOMPARE(crossed.pixel(40, y), black);
        QCOMPARE(crossed.pixel(40, y - 1), white);
        uitest::saveScreenshot(chart, QStringLiteral("profilewindow_cursor"));

        // Leaving the plot keeps the sample and its vertical line, and drops the horizontal one.
        QTest::mouseMove(chart, QPoint(chart->width() - 4, y));
        QCOMPARE(window->cursorIndex(), sample);
        const QImage outside = picture(chart);
        QCOMPARE(crossedColumns(before, outside), 3);
        QCOMPARE(crossedRows(before, outside), 0);
        QCOMPARE(outside, picture(chart)); // nothing is left behind where the line was
        QCOMPARE(window->graphDrawCount(), draws);

        // The rightmost column still names a real point: the closing surface point.
        QTest::mouseMove(chart, QPoint(profile::graphTrackingRect({ chart->width(), chart->height() }).right, y));
        QCOMPARE(window->cursorIndex(), static_cast<int>(dive.sampleCount));
        QCOMPARE(window->readout().depth, std::string("0.0"));
    }

    void deco92LaysThePlanOverTheDive()
    {
        auto window = open(m_deep);
        auto *plan = findByText<QPushButton>(window.get(), QStringLiteral("Déco &92"));
        QVERIFY(plan->isEnabled());
        // In the first minute the button does nothing.
        QTest::mouseClick(plan, Qt::LeftButton);
        QVERIFY(!m_context.secondProfile.shown);
        QWidget *chart = graph(*window);
        QTest::mouseMove(chart, QPoint(xOfSample(chart, 30), chart->height() / 2));
        QTest::mouseClick(plan, Qt::LeftButton);
        QVERIFY(m_context.secondProfile.shown);
        QVERIFY(m_context.secondProfile.clipboard.count() > 30);
        QVERIFY(findByText<QPushButton>(window.get(), QStringLiteral("&Effacer"))->isEnabled());
        uitest::saveScreenshot(window.get(), QStringLiteral("profile-window-deco92"));
    }

    void clipboardSurvivesClosingAndReopening()
    {
        {
            auto window = open(m_deep);
            auto *copy = findByText<QPushButton>(window.get(), QStringLiteral("&Copier"));
            auto *paste = findByText<QPushButton>(window.get(), QStringLiteral("C&oller"));
            QVERIFY(!paste->isEnabled());
            QTest::mouseClick(copy, Qt::LeftButton);
            QCOMPARE(m_context.secondProfile.clipboard.count(), m_context.logbook.dive(m_deep)->sampleCount + 1);
            QVERIFY(paste->isEnabled());
            QTest::mouseClick(paste, Qt::LeftButton);
            QVERIFY(m_context.secondProfile.shown);
            window->accept();
        }
        auto window = open(m_other);
        auto *paste = findByText<QPushButton>(window.get(), QStringLiteral("C&oller"));
        auto *erase = findByText<QPushButton>(window.get(), QStringLiteral("&Effacer"));
        QVERIFY(!paste->isEnabled());
        QVERIFY(erase->isEnabled());
        const QColor clip = qtglue::toQColor(m_context.settings.profileColours[ProfileColour::ClipProfile]);
        QVERIFY(countPixels(picture(graph(*window)), clip) > 50);

        QTest::mouseClick(erase, Qt::LeftButton);
        QVERIFY(!m_context.secondProfile.shown);
        QVERIFY(!m_context.secondProfile.clipboard.isEmpty());
        QVERIFY(paste->isEnabled());
        QCOMPARE(countPixels(picture(graph(*window)), clip), 0);
    }

    void choosingADiveInTheListMakesItCurrent()
    {
        int mainViewCalls = 0;
        auto window = open(m_deep, &mainViewCalls);
        auto *list = window->findChild<QListView *>(QStringLiteral("diveList"));
        QCOMPARE(list->currentIndex().row(), m_deep - 1);
        QTest::mouseMove(graph(*window), QPoint(xOfSample(graph(*window), 9), 60));
        QCOMPARE(window->cursorIndex(), 9);

        list->setCurrentIndex(list->model()->index(m_other - 1, 0));
        QCOMPARE(m_context.logbook.currentDive(), m_other);
        QCOMPARE(mainViewCalls, 1);
        QCOMPARE(window->cursorIndex(), 0);
        const logbook::FieldCatalogue catalogue(m_context.logbook);
        QCOMPARE(window->headerText(logbook::PageControl::Place),
            ui::toQt(catalogue.fromDive(logbook::Field::Place, m_other)));
        QCOMPARE(window->headerUnit(logbook::PageControl::MaxDepth), QStringLiteral("m"));

        // A dive without profile: grey chart, empty computer display, nothing to copy.
        list->setCurrentIndex(list->model()->index(m_flat - 1, 0));
        QCOMPARE(m_context.logbook.currentDive(), m_flat);
        QVERIFY(window->readout().depth.empty() && window->readout().elapsed.empty());
        QVERIFY(!findByText<QPushButton>(window.get(), QStringLiteral("&Copier"))->isEnabled());
        QCOMPARE(picture(graph(*window)).pixelColor(50, 50), QColor(192, 192, 192));
        QTest::mouseMove(graph(*window), QPoint(100, 100));
        QCOMPARE(window->cursorIndex(), 0);
        QCOMPARE(list->model()->data(list->model()->index(m_flat - 1, 0)).toString().left(2), QStringLiteral(" \t"));
        QCOMPARE(list->model()->data(list->model()->index(m_deep - 1, 0)).toString().left(2), QStringLiteral("P\t"));
    }

    void coloursReachTheChartAndTheDialogRepaintsItAndTheMainView()
    {
        m_context.settings.profileColours[ProfileColour::Background] = canvas::rgb(10, 200, 30);
        m_context.settings.profileColours[ProfileColour::Profile] = canvas::rgb(200, 20, 160);
        int mainViewCalls = 0;
        auto window = open(m_deep, &mainViewCalls);
        const QImage chart = picture(graph(*window));
        QVERIFY(countPixels(chart, QColor(10, 200, 30)) > chart.width() * chart.height() / 3);
        QVERIFY(countPixels(chart, QColor(200, 20, 160)) > 100);
        const QImage strip = picture(window->findChild<QWidget *>(QStringLiteral("strip")));
        QVERIFY(countPixels(strip, QColor(10, 200, 30)) > strip.width() * strip.height() / 3);

        // Back to the default colours, confirmed.
        uitest::Prompts prompts;
        prompts.dialog([](QDialog &dialog) {
            QTest::mouseClick(findByText<QPushButton>(&dialog, QStringLiteral("D&éfaut")), Qt::LeftButton);
            QTest::mouseClick(findByText<QPushButton>(&dialog, QStringLiteral("OK")), Qt::LeftButton);
        });
        QTest::mouseClick(findByText<QPushButton>(window.get(), QStringLiteral("Cou&leur")), Qt::LeftButton);
        QCOMPARE(m_context.settings.profileColours, settings::kDefaultProfileColours);
        QCOMPARE(mainViewCalls, 1);
        const QImage repainted = picture(graph(*window));
        QCOMPARE(countPixels(repainted, QColor(10, 200, 30)), 0);
        QVERIFY(countPixels(repainted, qtglue::toQColor(settings::kDefaultProfileColours[ProfileColour::Background]))
            > repainted.width() * repainted.height() / 3);
    }

    void switchesChangeTheChartAndTheProgramWideSettings()
    {
        m_context.settings.profileColours[ProfileColour::Lines] = canvas::rgb(0, 90, 200);
        auto window = open(m_deep);
        QWidget *chart = graph(*window);
        const QColor lines(0, 90, 200);
        const int withGrid = countPixels(picture(chart), lines);

        QTest::mouseClick(findByText<QCheckBox>(window.get(), QStringLiteral("&Grille")), Qt::LeftButton);
        QVERIFY(!m_context.settings.grid);
        const int withoutGrid = countPixels(picture(chart), lines);
        QVERIFY(withoutGrid < withGrid / 2);

        // The average depth line is the window's own and drawn in the lines' colour.
        QTest::mouseClick(findByText<QCheckBox>(window.get(), QStringLiteral("Ø &Profondeur")), Qt::LeftButton);
        QVERIFY(countPixels(picture(chart), lines) > withoutGrid + chart->width() / 2);

        QTest::mouseClick(findByText<QCheckBox>(window.get(), QStringLiteral("Croi&x filée")), Qt::LeftButton);
        QVERIFY(!m_context.settings.crosshair);
        const QImage plain = picture(chart);
        QTest::mouseMove(chart, QPoint(xOfSample(chart, 30), chart->height() / 2));
        const QImage marked = picture(chart);
        QCOMPARE(crossedColumns(plain, marked), 3);
        QCOMPARE(crossedRows(plain, marked), 0);

        // "&Données" opens the data window; closing it by its frame switches it off.
        auto *data = findByText<QCheckBox>(window.get(), QStringLiteral("&Données"));
        QVERIFY(!window->dataWindow());
        QTest::mouseClick(data, Qt::LeftButton);
        QVERIFY(m_context.settings.dataWindow);
        QVERIFY(window->dataWindow() && window->dataWindow()->isVisible());
        window->dataWindow()->close();
        QVERIFY(!window->dataWindow());
        QVERIFY(!data->isChecked());
        QVERIFY(!m_context.settings.dataWindow);
    }

    void dataWindowFollowsTheDiveAndClosesWithTheWindow()
    {
        m_context.settings.dataWindow = true;
        m_context.settings.unitSystem = logbook::UnitSystem::Imperial;
        m_context.applySettingsToLogbook();
        auto window = open(m_deep);
        QTRY_VERIFY(window->dataWindow() && window->dataWindow()->isVisible());
        ui::DiveDataWindow *data = window->dataWindow();
        QVERIFY(data->windowFlags().testFlag(Qt::Tool));
        expectOffTheControls(*window);
        const logbook::FieldCatalogue catalogue(m_context.logbook);
        QCOMPARE(data->valueText(logbook::PageControl::Partners),
            ui::toQt(catalogue.fromDive(logbook::Field::Partners, m_deep)));
        QCOMPARE(data->unitText(logbook::PageControl::MaxDepth), QStringLiteral("ft"));
        QCOMPARE(data->unitText(logbook::PageControl::AirConsumption), QStringLiteral("cft/min"));
        QCOMPARE(window->headerUnit(logbook::PageControl::MinWaterTemperature), QStringLiteral("°F"));

        auto *list = window->findChild<QListView *>(QStringLiteral("diveList"));
        list->setCurrentIndex(list->model()->index(m_other - 1, 0));
        QCOMPARE(
            data->valueText(logbook::PageControl::Place), ui::toQt(catalogue.fromDive(logbook::Field::Place, m_other)));

        // At a large remembered size the data window still leaves the controls free.
        const QRect screen = window->screen()->availableGeometry();
        window->setGeometry(screen.adjusted(0, 30, 0, 0));
        QTest::qWait(20);
        auto *box = findByText<QCheckBox>(window.get(), QStringLiteral("&Données"));
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(window->dataWindow() && window->dataWindow()->isVisible());
        expectOffTheControls(*window);
        uitest::saveScreenshot(window->dataWindow(), QStringLiteral("profilewindow_data_large"));

        window->accept();
        QVERIFY(!window->dataWindow());
        // The switch stays on for the next opening, and both places are kept.
        QVERIFY(m_context.settings.dataWindow);
        QVERIFY(m_context.settings.placement(settings::Window::Profile));
        QVERIFY(m_context.settings.placement(settings::Window::ProfileData));
    }

    void screenshots_data()
    {
        QTest::addColumn<bool>("imperial");
        QTest::addColumn<bool>("dataWindow");
        QTest::addColumn<QString>("name");
        QTest::newRow("metric") << false << false << QStringLiteral("profilewindow_metric");
        QTest::newRow("metric data") << false << true << QStringLiteral("profilewindow_metric_data");
        QTest::newRow("imperial") << true << false << QStringLiteral("profilewindow_imperial");
        QTest::newRow("imperial data") << true << true << QStringLiteral("profilewindow_imperial_data");
    }

    void screenshots()
    {
        QFETCH(bool, imperial);
        QFETCH(bool, dataWindow);
        QFETCH(QString, name);
        m_context.settings.unitSystem = imperial ? logbook::UnitSystem::Imperial : logbook::UnitSystem::Metric;
        m_context.applySettingsToLogbook();
        auto window = open(m_deep);
        // Qt drops a move to where the pointer already is, as the last row left it.
        QTest::mouseMove(graph(*window), QPoint(2, 2));
        QTest::mouseMove(graph(*window), QPoint(xOfSample(graph(*window), 40), 80));
        QCOMPARE(window->cursorIndex(), 40);
        if (dataWindow)
            QTest::mouseClick(findByText<QCheckBox>(window.get(), QStringLiteral("&Données")), Qt::LeftButton);
        uitest::saveScreenshot(window.get(), name);
        if (dataWindow)
            uitest::saveScreenshot(window->dataWindow(), name + QStringLiteral("_window"));
    }

    void openedByF9AndByThePreview()
    {
        m_context.settings.profilePreview = true;
        ui::MainWindow main(m_context, {});
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        main.page()->goToDive(m_deep);

        uitest::Prompts prompts;
        prompts.dialog<ui::ProfileWindow>([&](ui::ProfileWindow &window) {
            auto *list = uitest::child<QListView>(&window, "diveList");
            list->setCurrentIndex(list->model()->index(m_other - 1, 0));
            window.accept();
        });
        QTest::keyClick(&main, Qt::Key_F9);
        QVERIFY(prompts.done());
        // The main view follows the dive chosen in the window.
        QCOMPARE(main.page()->diveList()->currentIndex().row(), m_other - 1);

        prompts.dialog<ui::ProfileWindow>([](ui::ProfileWindow &) {});
        QTest::mouseClick(main.page()->preview(), Qt::LeftButton);
        QVERIFY(prompts.done());
    }

    void previewOffIsAPlainButton()
    {
        m_context.settings.profilePreview = false;
        ui::MainWindow main(m_context, {});
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QVERIFY(main.page()->preview()->isVisible());
        QCOMPARE(main.page()->preview()->size(), QSize(60, 20));
        QCOMPARE(main.page()->preview()->text(), QStringLiteral("&Profil"));
        uitest::saveScreenshot(&main, QStringLiteral("mainwindow_preview_off"));
        m_context.settings.profilePreview = true;
        main.page()->applyOptions();
        QTest::qWait(10);
        QVERIFY(main.page()->preview()->width() >= 159 && main.page()->preview()->height() >= 99);
    }
};

ZORV_UI_TEST_MAIN(ProfileWindowTest)
#include "profilewindow_test.moc"
