#include "logbook/generator.h"
#include "qtglue/qcolour.h"
#include "ui/app/mainwindow.h"
#include "ui/common/appcontext.h"
#include "ui/profile/plannerdialog.h"
#include "uitest.h"

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace zorv;

namespace {

template <typename T> std::unique_ptr<T> showDialog(ui::AppContext &context)
{
    auto dialog = std::make_unique<T>(context);
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get()))
        qWarning("dialog not exposed");
    return dialog;
}

void setText(QLineEdit *field, const QString &text)
{
    field->selectAll();
    QTest::keyClicks(field, text);
}

} // namespace

class PlannerDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ui::AppContext m_context;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_context.load(m_dir.path().toStdString(), settings::ScreenSize { 1280, 1024 });
        logbook::generateLogbook(m_context.logbook, { 30, 5, 2020 });
    }

    void init()
    {
        m_context.secondProfile = {};
        m_context.settings.grid = true;
        m_context.settings.crosshair = true;
    }

    void calculateShowsTheResultAndEnablesTheChart()
    {
        auto dialog = showDialog<ui::PlannerDialog>(m_context);
        QVERIFY(!dialog->groupField()->isEnabled());
        QVERIFY(!dialog->button(QStringLiteral("&Imprimer"))->isEnabled());
        QVERIFY(!dialog->button(QStringLiteral("Co&pier"))->isEnabled());
        setText(dialog->depthField(), QStringLiteral("24"));
        setText(dialog->timeField(), QStringLiteral("45"));
        setText(dialog->rateField(), QStringLiteral("20.0"));
        setText(dialog->tankField(), QStringLiteral("15"));
        setText(dialog->pressureField(), QStringLiteral("200"));
        QTest::mouseClick(dialog->button(QStringLiteral("&Calculer")), Qt::LeftButton);
        const QString text = dialog->resultBox()->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("Durée:\t63 min")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Palier 3 m:\t13 min")));
        // Every value starts at the one tab stop, right of the widest label: two columns that line up.
        for (const QString &line : text.split(QLatin1Char('\n'))) {
            QCOMPARE(line.count(QLatin1Char('\t')), 1);
            const QString label = line.section(QLatin1Char('\t'), 0, 0);
            QVERIFY2(
                dialog->resultBox()->fontMetrics().horizontalAdvance(label) < dialog->resultBox()->tabStopDistance(),
                qPrintable(label));
        }
        QVERIFY(dialog->button(QStringLiteral("&Imprimer"))->isEnabled());
        QVERIFY(!dialog->button(QStringLiteral("C&oller"))->isEnabled());

        // Copy, then lay the plan over itself as the second profile.
        QTest::mouseClick(dialog->button(QStringLiteral("Co&pier")), Qt::LeftButton);
        QCOMPARE(m_context.secondProfile.clipboard.count(), 190);
        QVERIFY(dialog->button(QStringLiteral("C&oller"))->isEnabled());
        QTest::mouseClick(dialog->button(QStringLiteral("C&oller")), Qt::LeftButton);
        QVERIFY(m_context.secondProfile.shown);
        QVERIFY(dialog->button(QStringLiteral("&Effacer"))->isEnabled());

        auto *chart = dialog->findChild<QWidget *>(QStringLiteral("chart"));
        const QImage plain = chart->grab().toImage();
        QVERIFY(uitest::countPixels(
                    plain, qtglue::toQColor(m_context.settings.profileColours[settings::ProfileColour::DecoLine]))
            > 0);
        QTest::mouseMove(chart, QPoint(chart->width() / 2, chart->height() / 2));
        QTRY_VERIFY(chart->grab().toImage() != plain);
        uitest::saveScreenshot(dialog.get(), QStringLiteral("planner-result"));

        QTest::mouseClick(dialog->button(QStringLiteral("&Effacer")), Qt::LeftButton);
        QVERIFY(!m_context.secondProfile.shown);

        // The group and interval open with the tick; the letter turns to a capital.
        QTest::mouseClick(
            dialog->repetitiveBox(), Qt::LeftButton, {}, QPoint(6, dialog->repetitiveBox()->height() / 2));
        QVERIFY(dialog->groupField()->isEnabled());
        setText(dialog->groupField(), QStringLiteral("d"));
        QCOMPARE(dialog->groupField()->text(), QStringLiteral("D"));
        setText(dialog->intervalField(), QStringLiteral("40"));
        setText(dialog->depthField(), QStringLiteral("20"));
        setText(dialog->timeField(), QStringLiteral("10"));
        QVERIFY(dialog->calculate());
        QVERIFY(dialog->resultBox()->toPlainText().contains(QStringLiteral("Majoration:\t11 min")));

        // A table too short says so and takes the chart away.
        setText(dialog->depthField(), QStringLiteral("70"));
        QVERIFY(dialog->calculate());
        QCOMPARE(dialog->resultBox()->toPlainText(), QStringLiteral("Table insuffisante"));
        QVERIFY(!dialog->button(QStringLiteral("&Imprimer"))->isEnabled());
    }

    void decimalsTakeACommaOrAPointAndJunkIsRefused()
    {
        auto dialog = showDialog<ui::PlannerDialog>(m_context);
        setText(dialog->timeField(), QStringLiteral("30"));
        setText(dialog->rateField(), QStringLiteral("20"));
        setText(dialog->tankField(), QStringLiteral("12,5"));
        setText(dialog->pressureField(), QStringLiteral("200"));
        for (const QString &typed : { QStringLiteral("18,5"), QStringLiteral("18.5") }) {
            setText(dialog->depthField(), typed);
            QVERIFY(dialog->calculate());
            QCOMPARE(ui::plannerState(m_context).depth, 18.5);
            QCOMPARE(ui::plannerState(m_context).tankLitres, 12.5);
        }
        for (const QString &junk : { QStringLiteral("18 m"), QStringLiteral("1,8,5") }) {
            setText(dialog->depthField(), junk);
            uitest::Prompts prompts;
            QString refusal;
            prompts.message({}, QStringLiteral("OK"), &refusal);
            QVERIFY(!dialog->calculate());
            QCOMPARE(refusal, QStringLiteral("Entrez un nombre."));
            QCOMPARE(ui::plannerState(m_context).depth, 18.5);
        }
    }

    void inputsSurviveReopeningButNotTheResult()
    {
        {
            auto dialog = showDialog<ui::PlannerDialog>(m_context);
            setText(dialog->depthField(), QStringLiteral("30"));
            setText(dialog->timeField(), QStringLiteral("20"));
            QVERIFY(dialog->calculate());
        }
        auto dialog = showDialog<ui::PlannerDialog>(m_context);
        QCOMPARE(dialog->depthField()->text(), QStringLiteral("30"));
        QCOMPARE(dialog->timeField()->text(), QStringLiteral("20"));
        QVERIFY(dialog->resultBox()->toPlainText().isEmpty());
        QVERIFY(!dialog->button(QStringLiteral("&Imprimer"))->isEnabled());
    }

    void printedPageGoesToPdf()
    {
        profile::PlannerState state;
        state.depth = 24;
        state.bottomTime = 45;
        profile::PlannedProfile planned;
        QVERIFY(profile::calculate(state, planned));
        const QString path = m_dir.filePath(QStringLiteral("planner.pdf"));
        {
            QPdfWriter writer(path);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setResolution(300);
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter painter(&writer);
            ui::paintPlannerPage(painter, state, planned, profile::PlannerChartStyle {});
        }
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        QVERIFY(pdf.size() > 2000);
        // The same page as a picture, to look at.
        QImage page(2480 / 3, 3508 / 3, QImage::Format_RGB32);
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            ui::paintPlannerPage(painter, state, planned, profile::PlannerChartStyle {});
        }
        QDir().mkpath(QStringLiteral(ZORV_SCREENSHOT_DIR));
        QVERIFY(page.save(QStringLiteral(ZORV_SCREENSHOT_DIR "/planner-page.png")));
        QFile::copy(path, QStringLiteral(ZORV_SCREENSHOT_DIR "/planner-page.pdf"));
    }

    void plannerOpensFromTheExtrasMenu()
    {
        ui::MainWindow window(m_context, {});
        QAction *action = window.action(app::Command::Planner);
        QVERIFY(action);
        QCOMPARE(action->text(), QStringLiteral("&Planification de plongée"));
        QVERIFY(action->isEnabled());
        uitest::Prompts prompts;
        prompts.dialog([](QDialog &planner) {
            QCOMPARE(planner.windowTitle(), QStringLiteral("Calcul de plongée d'après DECO 92"));
        });
        action->trigger();
    }
};

ZORV_UI_TEST_MAIN(PlannerDialogTest)
#include "plannerdialog_test.moc"
