#include "logbook/generator.h"
#include "profile/previewdrawing.h"
#include "qtglue/qcolour.h"
#include "ui/common/appcontext.h"
#include "ui/profile/profilepreview.h"
#include "uitest.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

using namespace zorv;

namespace {

using uitest::countPixels;

} // namespace

class ProfilePreviewTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ui::AppContext m_context;
    int m_divePosition = 0;

    // A page-like host, so the screenshot shows the preview as the dive page does.
    // Without a size the preview takes the size it asks for.
    ui::ProfilePreview *host(QWidget &window, QSize size = {})
    {
        auto *preview = new ui::ProfilePreview(m_context, &window);
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(8, 8, 8, 8);
        layout->addWidget(preview);
        if (size.isValid())
            preview->setFixedSize(size);
        preview->setDivePosition(m_divePosition);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("window not exposed");
        return preview;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_context.load(m_dir.path().toStdString(), settings::ScreenSize { 1280, 1024 });
        logbook::generateLogbook(m_context.logbook, { 30, 3, 2020 });
        // A dive long and deep enough to show minute labels, a deco stretch and warnings.
        for (int p = 1; p <= m_context.logbook.diveCount(); ++p) {
            const logbook::DiveRecord *d = m_context.logbook.dive(p);
            if (d->profileLength != 0 && d->sampleCount > 100 && d->profileMaxDepth > 20) {
                m_divePosition = p;
                break;
            }
        }
        QVERIFY(m_divePosition > 0);
        logbook::DiveRecord dive = *m_context.logbook.dive(m_divePosition);
        for (int i = 40; i < 60; ++i)
            dive.samples[static_cast<std::size_t>(i)].markers[0] |= 0x01;
        for (int i = dive.sampleCount - 14; i < dive.sampleCount - 10; ++i)
            dive.samples[static_cast<std::size_t>(i)].markers[0] |= 0x04;
        m_context.logbook.putDive(dive, m_divePosition);
    }

    void drawsTheDiveInBothSizesAndUnits_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("imperial");
        QTest::addColumn<QString>("name");
        QTest::newRow("large metric") << QSize(560, 300) << false << QStringLiteral("profilepreview_large_metric");
        QTest::newRow("large imperial") << QSize(560, 300) << true << QStringLiteral("profilepreview_large_imperial");
        QTest::newRow("small metric") << QSize(200, 120) << false << QStringLiteral("profilepreview_small_metric");
        QTest::newRow("small imperial") << QSize(200, 120) << true << QStringLiteral("profilepreview_small_imperial");
    }

    void drawsTheDiveInBothSizesAndUnits()
    {
        QFETCH(QSize, size);
        QFETCH(bool, imperial);
        QFETCH(QString, name);
        m_context.settings.unitSystem = imperial ? logbook::UnitSystem::Imperial : logbook::UnitSystem::Metric;
        m_context.applySettingsToLogbook();

        QWidget window;
        ui::ProfilePreview *preview = host(window, size);
        QCOMPARE(preview->size(), size);
        const QImage image = preview->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto &colours = m_context.settings.profileColours;
        using settings::ProfileColour;
        // Mostly chart background, with a curve and a deco line in their colours.
        QVERIFY(countPixels(image, qtglue::toQColor(colours[ProfileColour::Background]))
            > size.width() * size.height() / 3);
        QVERIFY(countPixels(image, qtglue::toQColor(colours[ProfileColour::Profile])) > 50);
        QVERIFY(countPixels(image, qtglue::toQColor(colours[ProfileColour::DecoLine])) > 10);
        uitest::saveScreenshot(preview, name);
        m_context.settings.unitSystem = logbook::UnitSystem::Metric;
        m_context.applySettingsToLogbook();
    }

    void followsColourChangesOnlyWhenInvalidated()
    {
        QWidget window;
        ui::ProfilePreview *preview = host(window, QSize(300, 200));
        const QColor oldBackground = preview->grab().toImage().pixelColor(5, 100);
        QCOMPARE(
            oldBackground, qtglue::toQColor(m_context.settings.profileColours[settings::ProfileColour::Background]));
        m_context.settings.profileColours[settings::ProfileColour::Background] = canvas::rgb(200, 230, 255);
        preview->invalidatePicture();
        QCOMPARE(preview->grab().toImage().pixelColor(5, 100), QColor(200, 230, 255));
        m_context.settings.profileColours = settings::kDefaultProfileColours;
    }

    void diveWithoutProfileIsGrey()
    {
        QWidget window;
        ui::ProfilePreview *preview = host(window, QSize(200, 120));
        preview->setDivePosition(0);
        const QImage image = preview->grab().toImage();
        QCOMPARE(image.pixelColor(100, 60), QColor(192, 192, 192));
        uitest::saveScreenshot(preview, QStringLiteral("profilepreview_no_profile"));
    }
};

ZORV_UI_TEST_MAIN(ProfilePreviewTest)
#include "profilepreview_test.moc"
