#include "common/clock.h"
#include "logbook/daynumber.h"
#include "logbook/generator.h"
#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"
#include "ui/stats/frequencywindow.h"
#include "ui/stats/statisticswindow.h"
#include "uitest.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QColorDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace zorv;
using stats::PageKind;

namespace {

using uitest::click;
using uitest::findByText;

} // namespace

class StatisticsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ui::AppContext m_context;
    common::FixedClock m_clock { 1796601600 }; // 2026-12-07

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        common::setClock(&m_clock);
        m_context.load(m_dir.path().toStdString(), settings::ScreenSize { 1280, 1024 });
        logbook::generateLogbook(m_context.logbook, { 900, 3, 1995 });
        m_context.logbook.setPath((m_dir.path() + QStringLiteral("/Meer.log")).toStdString());
    }

    void cleanupTestCase() { common::setClock(nullptr); }

    void everyPageOpensWithItsNumbersAndBars()
    {
        ui::StatisticsWindow chooser(m_context);
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        uitest::saveScreenshot(&chooser, QStringLiteral("statistics_chooser"));
        for (int k = 0; k < stats::kPageCount; ++k) {
            const auto kind = static_cast<PageKind>(k);
            click(chooser.pageButton(kind));
            ui::StatisticsPageWindow *page = chooser.currentPage();
            QVERIFY(page);
            QCOMPARE(page->page().kind(), kind);
            QTRY_VERIFY(page->isVisible());
            uitest::saveScreenshot(page, QStringLiteral("statistics_page_%1").arg(k, 2, 10, QLatin1Char('0')));
            // The window shows what the engine counted.
            const auto rows = page->page().rows();
            const auto &last
                = rows.at(static_cast<std::size_t>(page->page().firstShownRow() + page->page().shownRowCount() - 1));
            QCOMPARE(page->fieldText(page->page().shownRowCount() - 1, 0),
                last.values[0] ? QString::number(static_cast<double>(*last.values[0]), 'f', last.decimals) : QString());
        }
        QCOMPARE(ui::rememberedStatisticsPage(), PageKind::ConsumptionMonth);
    }

    void yearPageScrollsAndDepthPageKeepsItsScaleForOneYear()
    {
        ui::StatisticsWindow chooser(m_context);
        chooser.show();
        chooser.selectPage(PageKind::Year);
        ui::StatisticsPageWindow *years = chooser.currentPage();
        QScrollBar *scroll = years->scrollBar();
        QVERIFY(scroll);
        QCOMPARE(scroll->value(), scroll->maximum());
        QVERIFY(scroll->maximum() > 0); // 1995..2026 is more than twenty years
        scroll->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(years->page().firstShownRow(), scroll->maximum() - 1);
        QCOMPARE(years->fieldText(19, 0),
            QString::number(static_cast<double>(
                                *years->page().rows()[static_cast<std::size_t>(scroll->maximum() - 1 + 19)].values[0]),
                'f', 0));

        chooser.selectPage(PageKind::Depth);
        ui::StatisticsPageWindow *depth = chooser.currentPage();
        const QString allScale = depth->scaleText();
        click(findByText(depth, QStringLiteral("&Année")));
        QVERIFY(depth->yearField()->isEnabled());
        const int year = logbook::calendarDate(m_context.logbook.dive(m_context.logbook.diveCount() / 2)->date).year;
        depth->yearField()->setValue(year);
        QCOMPARE(depth->page().options.selectedYear, year);
        QCOMPARE(depth->scaleText(), allScale);
        QVERIFY(depth->page().yearDiveCount() > 0);
        uitest::saveScreenshot(depth, QStringLiteral("statistics_depth_2020"));
    }

    void colourButtonRecoloursTheLegend()
    {
        ui::StatisticsWindow chooser(m_context);
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        uitest::Prompts prompts;
        prompts
            .dialog(
                [](QDialog &colours) {
                    click(findByText(&colours, QStringLiteral("&Eau de mer")));
                    click(findByText(&colours, QStringLiteral("&Appl. couleur")));
                    click(findByText(&colours, QStringLiteral("OK")));
                },
                QStringLiteral("statistics_colours"))
            .dialog<QColorDialog>([](QColorDialog &picker) {
                picker.setCurrentColor(QColor(200, 0, 200));
                picker.accept();
            });
        click(findByText(&chooser, QStringLiteral("Cou&leur")));
        QCOMPARE(m_context.settings.statisticsColours[settings::StatisticsColour::SeaWater], canvas::rgb(200, 0, 200));
        const QImage swatch = chooser.swatch(1)->grab().toImage();
        QCOMPARE(swatch.pixelColor(5, 5), QColor(200, 0, 200));
        m_context.settings.statisticsColours = settings::kDefaultStatisticsColours;
    }

    void chartOpensBesideItsChooserSaysWhatItLeftOutAndStaysUpForPrinting()
    {
        // A large generated logbook that runs past today, as the old generator made them.
        QTemporaryDir dir;
        ui::AppContext context;
        context.load(dir.path().toStdString(), settings::ScreenSize { 1600, 1000 });
        logbook::generateLogbook(context.logbook, { 3000, 1, 2019 });
        ui::StatisticsWindow chooser(context);
        chooser.move(40, 40);
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        chooser.selectPage(PageKind::Year);
        ui::StatisticsPageWindow *years = chooser.currentPage();
        QTRY_VERIFY(years->isVisible());
        // Beside the chooser, clear of its buttons, and on the screen.
        QVERIFY2(!years->frameGeometry().intersects(chooser.frameGeometry()),
            qPrintable(QStringLiteral("%1,%2 over %3,%4")
                           .arg(years->x())
                           .arg(years->y())
                           .arg(chooser.frameGeometry().right())
                           .arg(chooser.y())));
        const QRect screen = chooser.screen()->availableGeometry();
        QVERIFY(years->frameGeometry().top() >= screen.top());
        QVERIFY(years->frameGeometry().right() <= screen.right());
        auto *note = years->findChild<QLabel *>(QStringLiteral("uncountedNote"));
        QVERIFY(note);
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), ui::toQt(years->page().uncountedNote()));
        QVERIFY(years->page().laterDiveCount() > 1000);
        QVERIFY(note->text().startsWith(QString::number(years->page().laterDiveCount()) + QStringLiteral(" plongées")));
        uitest::saveScreenshot(years, QStringLiteral("statistics_uncounted"));

        // The tallest page fits the 1000-pixel screen.
        chooser.selectPage(PageKind::Activity);
        ui::StatisticsPageWindow *activities = chooser.currentPage();
        QTRY_VERIFY(activities->isVisible());
        // 1000 pixels less a title bar; the test screen may be smaller, then the window starts at its top.
        QVERIFY2(activities->frameGeometry().height() <= 960,
            qPrintable(QString::number(activities->frameGeometry().height())));
        QVERIFY(activities->frameGeometry().top() >= screen.top());
        QVERIFY(!activities->frameGeometry().intersects(chooser.frameGeometry()));
        uitest::saveScreenshot(activities, QStringLiteral("statistics_activities_fit"));

        // The print dialog leaves the chart it prints in sight.
        bool shownWhileAsking = false;
        uitest::Prompts prompts;
        prompts.dialog([&](QDialog &) { shownWhileAsking = activities->isVisible(); });
        click(findByText(&chooser, QStringLiteral("&Imprimer")));
        QVERIFY(shownWhileAsking);
        QVERIFY(activities->isVisible());
    }

    void printedPagesCarryTheirTexts()
    {
        stats::StatisticsPage page(PageKind::Month);
        page.compute(m_context.logbook);
        const QString pdf = m_dir.path() + QStringLiteral("/months.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        ui::printStatisticsPage(m_context, page, printer);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
        if (!text.waitForStarted())
            QSKIP("pdftotext is not installed");
        QVERIFY(text.waitForFinished());
        const QString out = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY(out.contains(QStringLiteral("Statistiques mensuelles")));
        QVERIFY(out.contains(QStringLiteral("<Meer.log> Imprimé le 07.12.2026")));
        QVERIFY(out.contains(QStringLiteral("Eau de mer")));
        QVERIFY(out.count(QStringLiteral("\f")) >= 2); // the months run over several sheets
        QVERIFY(out.contains(QStringLiteral("Moyenne:")));
    }

    void siteAndPartnerListsSortByTheirHeaders()
    {
        ui::FrequencyWindow sites(m_context, stats::FrequencyKind::Sites);
        QAbstractItemModelTester tester(sites.entryList()->model());
        sites.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sites));
        QVERIFY(sites.entryList()->model()->rowCount() > 1);
        QTest::mouseClick(sites.entryList()->horizontalHeader()->viewport(), Qt::LeftButton, {},
            QPoint(sites.entryList()->columnViewportPosition(1) + 10, 5));
        QCOMPARE(sites.list().sortOrder(), stats::FrequencySort::ByCount);
        QCOMPARE(sites.entryList()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral(">> Plongée"));
        const auto &entries = sites.list().entries();
        QVERIFY(entries.front().count >= entries.back().count);
        QCOMPARE(sites.subList()->model()->rowCount(), static_cast<int>(entries.front().subEntries.size()));
        uitest::saveScreenshot(&sites, QStringLiteral("statistics_sites"));

        ui::FrequencyWindow partners(m_context, stats::FrequencyKind::Partners);
        partners.show();
        QVERIFY(QTest::qWaitForWindowExposed(&partners));
        partners.sortBy(0);
        QCOMPARE(
            partners.entryList()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral(">> Partenaires"));
        partners.entryList()->setColumnWidth(0, 210);
        QCOMPARE(m_context.settings.columnWidth(settings::ColumnList::Partners1, 0), 210);
        partners.yearField()->setValue(1994); // before the first dive: not taken
        QCOMPARE(partners.yearField()->value(), 1995);
        partners.setYearMode(true);
        partners.yearField()->setValue(1995);
        QVERIFY(partners.entryList()->model()->rowCount() > 0);
        uitest::saveScreenshot(&partners, QStringLiteral("statistics_partners"));
    }

    void monthlyBehaviourWindow()
    {
        uitest::Prompts prompts;
        prompts.dialog(
            [](QDialog &monthly) {
                QCOMPARE(monthly.windowTitle(), QStringLiteral("Comportement de plongée mensuel"));
                click(findByText(&monthly, QStringLiteral("&Quitter")));
            },
            QStringLiteral("statistics_monthly"));
        ui::showMonthlyBehaviour(m_context, nullptr);
    }
};

ZORV_UI_TEST_MAIN(StatisticsTest)
#include "statistics_test.moc"
