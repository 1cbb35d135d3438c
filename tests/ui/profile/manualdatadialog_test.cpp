#include "logbook/generator.h"
#include "logbook/profiledecoder.h"
#include "profile/profilewindowlayout.h"
#include "ui/app/mainwindow.h"
#include "ui/common/appcontext.h"
#include "ui/profile/manualdatadialog.h"
#include "uitest.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using namespace zorv;

namespace {

std::unique_ptr<ui::ManualDataDialog> showDialog(ui::AppContext &context)
{
    auto dialog = std::make_unique<ui::ManualDataDialog>(context);
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get()))
        qWarning("dialog not exposed");
    return dialog;
}

} // namespace

class ManualDataDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ui::AppContext m_context;

    // Makes a dive without profile current with this depth (cm) and duration (min); its position, 0 for none.
    int currentDiveWithoutProfile(std::int16_t maxDepth, std::int16_t duration)
    {
        for (int p = 1; p <= m_context.logbook.diveCount(); ++p) {
            logbook::DiveRecord d = *m_context.logbook.dive(p);
            if (d.profileLength != 0 || d.maxDepth == logbook::kMissing || d.duration == logbook::kMissing)
                continue;
            d.maxDepth = maxDepth;
            d.duration = duration;
            m_context.logbook.putDive(d, p);
            m_context.logbook.setCurrentDive(p);
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

    void init() { m_context.secondProfile = {}; }

    void manualProfileIsDrawnAndStored()
    {
        const int position = currentDiveWithoutProfile(2000, 30);
        QVERIFY(position > 0);

        auto dialog = showDialog(m_context);
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
        // A quick drag far to the right: every sample the pointer passed over lies on the line, no comb of spikes.
        const int far = x + (rect.right - rect.left) / 4;
        QMouseEvent jump(QEvent::MouseMove, QPointF(far, upper), graph->mapToGlobal(QPointF(far, upper)), Qt::NoButton,
            Qt::LeftButton, {});
        QApplication::sendEvent(graph, &jump);
        QVERIFY(dialog->cursor() > cursor + 10);
        for (int i = cursor; i <= dialog->cursor(); ++i)
            QVERIFY2(std::abs(dialog->work().samples[static_cast<std::size_t>(i)].depth + 5.0f) < 0.2f,
                qPrintable(QString::number(i)));
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(far, upper), graph->mapToGlobal(QPointF(far, upper)),
            Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(graph, &release);
        QVERIFY(!dialog->field(QStringLiteral("depth"))->text().isEmpty());

        // Deco 92 at the cursor lays the table's plan over the drawing.
        QTest::mouseClick(dialog->button(QStringLiteral("Déco &92")), Qt::LeftButton);
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
        auto again = showDialog(m_context);
        uitest::Prompts prompts;
        QString question;
        prompts.message({}, QStringLiteral("OK"), &question);
        QTest::mouseClick(again->button(QStringLiteral("Effacer le &profil")), Qt::LeftButton);
        QCOMPARE(question, QStringLiteral("Supprimer vraiment le profil ?"));
        QVERIFY(m_context.logbook.dive(position));
        stored = *m_context.logbook.dive(position);
        QCOMPARE(logbook::profileKind(stored), logbook::ProfileKind::None);
        QCOMPARE(static_cast<int>(stored.sampleCount), 0);
    }

    void longDiveIsLimitedAndSaysSo()
    {
        const int position = currentDiveWithoutProfile(1500, 300);
        QVERIFY(position > 0);
        auto dialog = showDialog(m_context);
        QVERIFY(!dialog->limitNote()->isHidden());
        QVERIFY(dialog->limitNote()->text().contains(QStringLiteral("211 min")));
        QCOMPARE(dialog->work().sampleCount, 636);
        uitest::saveScreenshot(dialog.get(), QStringLiteral("manual-profile-limited"));
        QTest::mouseClick(dialog->button(QStringLiteral("Annuler")), Qt::LeftButton);
        QCOMPARE(static_cast<int>(m_context.logbook.dive(position)->profileLength), 0);
    }
};

ZORV_UI_TEST_MAIN(ManualDataDialogTest)
#include "manualdatadialog_test.moc"
