#include "logbook/generator.h"
#include "ui/common/appcontext.h"
#include "ui/table/divetablemodel.h"
#include "ui/table/tableview.h"
#include "uitest.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

using namespace zorv;
using zorv::ui::AppContext;

namespace {

constexpr settings::ScreenSize kScreen { 1024, 768 };

QTableView *tableOf(QWidget *modal)
{
    return modal->findChild<QTableView *>(QStringLiteral("diveTable"));
}

// Records what the table tells the main window.
struct Calls {
    std::vector<int> goTo;

    ui::TableViewCallbacks callbacks()
    {
        return { [this](int position) { goTo.push_back(position); } };
    }
};

} // namespace

class TableViewTest : public QObject {
    Q_OBJECT

private:
    // A scratch settings folder with the given Zorv.ini, and a generated logbook.
    void open(AppContext &context, QTemporaryDir &dir, int dives, const QByteArray &ini = {})
    {
        if (!ini.isEmpty()) {
            QFile file(dir.filePath(QStringLiteral("Zorv.ini")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(ini);
        }
        context.load(dir.path().toStdString(), kScreen);
        logbook::GeneratorOptions options;
        options.dives = dives;
        logbook::generateLogbook(context.logbook, options);
    }

private slots:
    void modelIsSound()
    {
        logbook::Logbook logbook;
        logbook::GeneratorOptions options;
        options.dives = 120;
        logbook::generateLogbook(logbook, options);
        ui::DiveTableModel model(logbook);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Numéro"));
        QVERIFY(model.data(model.index(0, 0)).toString().startsWith(QStringLiteral("00001 ")));
        QVERIFY(model.data(model.index(119, 0)).toString().startsWith(QStringLiteral("00120 ")));
        const auto depthAlignment = model.data(model.index(0, 6), Qt::TextAlignmentRole).value<Qt::Alignment>();
        QVERIFY(depthAlignment & Qt::AlignRight);
    }

    void opensOnTheCurrentDiveAndFollowsTheSelection()
    {
        uitest::Prompts prompts;
        QTemporaryDir dir;
        AppContext context;
        open(context, dir, 300);
        context.logbook.setCurrentDive(150);
        Calls calls;

        prompts.modal([&](QWidget *modal) {
            QTableView *table = tableOf(modal);
            QCOMPARE(table->currentIndex().row(), 149);
            uitest::saveScreenshot(modal, QStringLiteral("tableview"));
            QTest::keyClick(table, Qt::Key_Home, Qt::ControlModifier);
            QTest::keyClick(table, Qt::Key_Down);
        });
        ui::showTableView(context, calls.callbacks(), nullptr);
        // Opening on the current dive does not tell the page to move.
        QCOMPARE(calls.goTo, (std::vector<int> { 1, 2 }));
    }

    void doubleClickChoosesOneDiveAndCloses()
    {
        uitest::Prompts prompts;
        QTemporaryDir dir;
        AppContext context;
        open(context, dir, 40);
        context.logbook.setCurrentDive(1);
        Calls calls;

        prompts.modal([&](QWidget *modal) {
            QTableView *table = tableOf(modal);
            const QPoint row3 = table->visualRect(table->model()->index(2, 2)).center();
            const QPoint row4 = table->visualRect(table->model()->index(3, 2)).center();
            // Two rows selected: a double click chooses nothing.
            QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ControlModifier, row3);
            emit table->doubleClicked(table->model()->index(2, 0));
            QVERIFY(modal->isVisible());
            // A double click reaches the view as a press and then a double-click event.
            QTest::mousePress(table->viewport(), Qt::LeftButton, {}, row4);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, row4);
            QVERIFY(!modal->isVisible());
        });
        ui::showTableView(context, calls.callbacks(), nullptr);
        QCOMPARE(calls.goTo.back(), 4);
    }

    void columnWidthsAndPlacementAreKept()
    {
        uitest::Prompts prompts;
        QTemporaryDir dir;
        AppContext context;
        // 7 is no width: the column keeps its built-in one.
        open(context, dir, 10, "[Tabelle]\r\nTabSp01=7\r\nTabSp02=90\r\n");

        QList<int> opened;
        prompts.modal([&](QWidget *modal) {
            QHeaderView *header = tableOf(modal)->horizontalHeader();
            for (int column = 0; column < 3; ++column)
                opened << header->sectionSize(column);
            header->resizeSection(3, 222);
            modal->setGeometry(60, 70, 700, 400);
        });
        ui::showTableView(context, {}, nullptr);

        // Built-in widths may grow to fit the font; a stored width is taken as it is.
        QVERIFY(opened[0] >= 60);
        QVERIFY(opened[1] >= 55);
        QCOMPARE(opened[2], 90);
        QCOMPARE(context.settings.columnWidth(settings::ColumnList::Table, 3), 222);
        QCOMPARE(context.settings.columnWidth(settings::ColumnList::Table, 9), 140);
        QCOMPARE(context.settings.placement(settings::Window::Table),
            std::optional(settings::WindowPlacement { 60, 70, 760, 470, false }));

        // The next opening uses both.
        prompts.modal([&](QWidget *modal) {
            QCOMPARE(modal->geometry(), QRect(60, 70, 700, 400));
            QCOMPARE(tableOf(modal)->horizontalHeader()->sectionSize(3), 222);
        });
        ui::showTableView(context, {}, nullptr);
    }

    void opensAFullLogbookQuickly()
    {
        uitest::Prompts prompts;
        QTemporaryDir dir;
        AppContext context;
        open(context, dir, 32767);
        context.logbook.setCurrentDive(30000);

        QElapsedTimer timer;
        qint64 elapsed = 0;
        QString shownNumber;
        prompts.modal([&](QWidget *modal) {
            // Grabbing paints the visible rows, which is where the texts are made.
            uitest::saveScreenshot(modal, QStringLiteral("tableview-32767"));
            elapsed = timer.elapsed();
            QTableView *table = tableOf(modal);
            shownNumber = table->model()->data(table->currentIndex().siblingAtColumn(0)).toString();
        });
        timer.start();
        ui::showTableView(context, {}, nullptr);

        qInfo("table view on 32767 dives shown in %lld ms", static_cast<long long>(elapsed));
        QVERIFY(shownNumber.startsWith(QStringLiteral("30000 ")));
        QVERIFY2(elapsed < 1000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
    }
};

ZORV_UI_TEST_MAIN(TableViewTest)
#include "tableview_test.moc"
