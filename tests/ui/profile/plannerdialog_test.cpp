#include "logbook/generator.h"
#include "logbook/profiledecoder.h"
#include "ui/app/mainwindow.h"
#include "ui/common/appcontext.h"
#include "ui/profile/manualdatadialog.h"
#include "ui/profile/plannerdialog.h"
#include "uitest.h"

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
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

int countColour(const QImage &image, canvas::Rgb rgb)
{
    const QColor colour(canvas::redOf(rgb), canvas::greenOf(rgb), canvas::blueOf(rgb));
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour ? 1 : 0;
    return n;
}

} // namespace

class PlannerDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ui::AppContext m_context;

    int diveWithoutProfile()
    {
        for (int p = 1; p <= m_context.logbook.diveCount(); ++p) {
            const logbook::DiveRecord *d = m_context.logbook.dive(p);
            if (d && d->profileLength == 0 && d->maxDepth != logbook::kMissing && d->duration != logbook::kMissing)
                return p;
        }
        return 0;
    }

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
        QVERIFY(!dialog->button(QStringLiteral("&Copier"))->isEnabled());
        setText(dialog->depthField(), QStringLiteral("24"));
        setText(dialog->timeField(), QStringLiteral("45"));
        setText(dialog->rateField(), QStringLiteral("20.0"));
        setText(dialog->tankField(), QStringLiteral("15"));
        setText(dialog->pressureField(), QStringLiteral("200"));
        QTest::mouseClick(dialog->button(QStringLiteral("&Calculer")), Qt::LeftButton);
        const QString text = dialog->resultBox()->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("Durée:\t\t63 min")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("palier\t 3 m:\t13 min")));
        QVERIFY(dialog->button(QStringLiteral("&Imprimer"))->isEnabled());
        QVERIFY(!dialog->button(QStringLiteral("&Coller"))->isEnabled());

        // Copy, then lay the plan over itself as the second profile.
        QTest::mouseClick(dialog->button(QStringLiteral("&Copier")), Qt::LeftButton);
        QCOMPARE(m_context.secondProfile.clipboard.count(), 190);
        QVERIFY(dialog->button(QStringLiteral("&Coller"))->isEnabled());
        QTest::mouseClick(dialog->button(QStringLiteral("&Coller")), Qt::LeftButton);
        QVERIFY(m_context.secondProfile.shown);
        QVERIFY(dialog->button(QStringLiteral("&Effacer"))->isEnabled());

        auto *chart = dialog->findChild<QWidget *>(QStringLiteral("chart"));
        const QImage plain = chart->grab().toImage();
        QVERIFY(countColour(plain, m_context.settings.profileColours[settings::ProfileColour::DecoLine]) > 0);
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
        QVERIFY(dialog->resultBox()->toPlainText().contains(QStringLiteral("ajout:\t\t11 min")));

        // A table too short says so and takes the chart away.
        setText(dialog->depthField(), QStringLiteral("70"));
        QVERIFY(dialog->calculate());
        QCOMPARE(dialog->resultBox()->toPlainText(), QStringLiteral("\n Tabelle nicht ausreichend"));
        QVERIFY(!dialog->button(QStringLiteral("&Imprimer"))->isEnabled());
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
        QCOMPARE(action->text(), QStringLiteral("&Calcul de plongée"));
        QVERIFY(action->isEnabled());
        QString title;
        uitest::whenModalOpens([&title](QWidget *modal) {
            title = modal->windowTitle();
            modal->close();
        });
        action->trigger();
        QCOMPARE(title, QStringLiteral("Calcul de plongée d'après DECO 92"));
    }

    void manualProfileIsDrawnAndStored()
    {
        const int position = diveWithoutProfile();
        QVERIFY(position > 0);
        logbook::DiveRecord original;
        QVERIFY(m_context.logbook.dive(position));
        original = *m_context.logbook.dive(position);
        original.maxDepth = 2000;
        original.duration = 30;
        m_context.logbook.putDive(original, position);
        m_context.logbook.setCurrentDive(position);

        auto dialog = showDialog<ui::ManualDataDialog>(m_context);
        QCOMPARE(dialog->work().sampleCount, 93);
        QVERIFY(dialog->limitNote()->isHidden());
        QWidget *graph = dialog->graph();
        const profile::TrackingRect rect = profile::graphTrackingRect({ graph->width(), graph->height() });
        // Drag along the bottom of the plot: the samples are held at the dive's 20 m.
        const int x = rect.left + (rect.right - rect.left) / 3;
        QTest::mouseMove(graph, QPoint(x, rect.top + 10));
        const int cursor = dialog->cursor();
        QVERIFY(cursor > 0);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, rect.bottom),
            graph->mapToGlobal(QPointF(x, rect.bottom)), Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(graph, &press);
        QCOMPARE(dialog->work().samples[static_cast<std::size_t>(cursor)].depth, -20.0f);
        const int upper = rect.top + (rect.bottom - rect.top) / 5; // 5 m on the 0 ... 25 m axis
        QMouseEvent drag(QEvent::MouseMove, QPointF(x, upper), graph->mapToGlobal(QPointF(x, upper)), Qt::NoButton,
            Qt::LeftButton, {});
        QApplication::sendEvent(graph, &drag);
        QVERIFY(std::abs(dialog->work().samples[static_cast<std::size_t>(cursor)].depth + 5.0f) < 0.2f);
        QVERIFY(!dialog->field(QStringLiteral("depth"))->text().isEmpty());

        // Deco 92 at the cursor lays the table's plan over the drawing.
        QTest::mouseClick(dialog->button(QStringLiteral("De&co 92")), Qt::LeftButton);
        QVERIFY(m_context.secondProfile.shown);
        uitest::saveScreenshot(dialog.get(), QStringLiteral("manual-profile"));

        const logbook::DiveRecord drawn = dialog->work();
        QTest::mouseClick(dialog->button(QStringLiteral("OK")), Qt::LeftButton);
        logbook::DiveRecord stored;
        QVERIFY(m_context.logbook.dive(position));
        stored = *m_context.logbook.dive(position);
        QCOMPARE(logbook::profileKind(stored), logbook::ProfileKind::HandDrawn);
        QCOMPARE(static_cast<int>(stored.profileLength), 7 * 32 + 17);
        logbook::decodeProfile(stored, false);
        QVERIFY(std::abs(stored.samples[static_cast<std::size_t>(cursor)].depth
                    - drawn.samples[static_cast<std::size_t>(cursor)].depth)
            < 0.16f);

        // The command stays open for a drawn dive; erasing asks first and then removes the profile.
        ui::MainWindow window(m_context, {});
        window.updateCommandStates();
        QVERIFY(window.action(app::Command::ManualData)->isEnabled());
        m_context.logbook.setCurrentDive(position);
        auto again = showDialog<ui::ManualDataDialog>(m_context);
        uitest::whenModalOpens([](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            QCOMPARE(box->text(), QStringLiteral("Effacer vraiment le profil?"));
            box->button(QMessageBox::Ok)->click();
        });
        QTest::mouseClick(again->button(QStringLiteral("&Profil effacer")), Qt::LeftButton);
        QVERIFY(m_context.logbook.dive(position));
        stored = *m_context.logbook.dive(position);
        QCOMPARE(logbook::profileKind(stored), logbook::ProfileKind::None);
        QCOMPARE(static_cast<int>(stored.sampleCount), 0);
    }

    void longDiveIsLimitedAndSaysSo()
    {
        const int position = diveWithoutProfile();
        logbook::DiveRecord dive;
        QVERIFY(m_context.logbook.dive(position));
        dive = *m_context.logbook.dive(position);
        dive.maxDepth = 1500;
        dive.duration = 300;
        m_context.logbook.putDive(dive, position);
        m_context.logbook.setCurrentDive(position);
        auto dialog = showDialog<ui::ManualDataDialog>(m_context);
        QVERIFY(!dialog->limitNote()->isHidden());
        QVERIFY(dialog->limitNote()->text().contains(QStringLiteral("211 min")));
        QCOMPARE(dialog->work().sampleCount, 636);
        uitest::saveScreenshot(dialog.get(), QStringLiteral("manual-profile-limited"));
        QTest::mouseClick(dialog->button(QStringLiteral("Annuler")), Qt::LeftButton);
        QVERIFY(m_context.logbook.dive(position));
        dive = *m_context.logbook.dive(position);
        QCOMPARE(static_cast<int>(dive.profileLength), 0);
    }
};

ZORV_UI_TEST_MAIN(PlannerDialogTest)
#include "plannerdialog_test.moc"
