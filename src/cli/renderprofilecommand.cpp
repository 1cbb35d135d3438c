#include "renderprofilecommand.h"

#include "arguments.h"
#include "common/atomicfile.h"
#include "profile/profilescene.h"
#include "qtcanvas/qpaintercanvas.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstring>
#include <iostream>
#include <string>

namespace zorv::cli {

namespace {

    bool parseNumber(const QString &text, long long low, long long high, int &out)
    {
        const auto value = wholeNumber(text, low, high);
        if (value)
            out = static_cast<int>(*value);
        return value.has_value();
    }

    const QString kWidth = QStringLiteral("width");
    const QString kHeight = QStringLiteral("height");
    const QString kCursor = QStringLiteral("cursor");

} // namespace

std::unique_ptr<QCoreApplication> createApplication(int &argc, char **argv)
{
    bool render = false;
    for (int i = 1; i < argc; ++i)
        render = render || std::strcmp(argv[i], "render-profile") == 0 || std::strcmp(argv[i], "print") == 0;
    if (!render)
        return std::make_unique<QCoreApplication>(argc, argv);
    // Scripts and tests run without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

void addRenderProfileOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        QCommandLineOption(kWidth, QStringLiteral("render-profile: picture width (default 900)."), QStringLiteral("W"),
            QStringLiteral("900")),
        QCommandLineOption(kHeight, QStringLiteral("render-profile: picture height (default 600)."),
            QStringLiteral("H"), QStringLiteral("600")),
        QCommandLineOption(kCursor, QStringLiteral("render-profile: sample under the cursor (default: the deepest)."),
            QStringLiteral("SAMPLE")),
    });
}

int commandRenderProfile(
    Environment &env, const QCommandLineParser &parser, const QString &positionText, const QString &outPath)
{
    int position = 0;
    const int count = env.logbook.diveCount();
    if (!parseNumber(positionText, 1, count, position))
        return fail("position must be a number from 1 to " + std::to_string(count), kExitUsage);
    int width = 0;
    int height = 0;
    if (!parseNumber(parser.value(kWidth), profile::kMinimumSceneSize.width, 8000, width)
        || !parseNumber(parser.value(kHeight), profile::kMinimumSceneSize.height, 8000, height))
        return fail("--width and --height must be from " + std::to_string(profile::kMinimumSceneSize.width) + " and "
                + std::to_string(profile::kMinimumSceneSize.height) + " up to 8000",
            kExitUsage);

    const logbook::DiveRecord &dive = *env.logbook.dive(position);
    int cursor = 0;
    if (parser.isSet(kCursor)) {
        if (!parseNumber(parser.value(kCursor), 0, dive.sampleCount, cursor))
            return fail("--cursor must be a sample from 0 to " + std::to_string(dive.sampleCount), kExitUsage);
    } else {
        // Without a choice the cursor rests where the dive is deepest: every instrument has something to show.
        const std::span<const logbook::ProfileSample> samples = logbook::profileSamples(dive);
        for (std::size_t i = 1; i < samples.size(); ++i)
            if (samples[i].depth < samples[static_cast<std::size_t>(cursor)].depth)
                cursor = static_cast<int>(i);
    }

    profile::SceneOptions options;
    options.graph.colours = env.settings.profileColours;
    options.graph.units = env.logbook.unitSystem();
    options.graph.grid = env.settings.grid ? profile::Grid::On : profile::Grid::Off;
    options.crosshair = env.settings.crosshair ? profile::Crosshair::On : profile::Crosshair::Off;
    options.clockBackground = env.settings.clockBackground;
    options.traits.airIntegrated = env.catalogue.airIntegrated(dive.computerType);
    options.traits.fixedWorkload = dive.computerType == 0 || env.catalogue.isImport(dive.computerType);
    options.computerName = env.catalogue.displayName(dive.computerType);
    options.cursor = cursor;

    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780); // 96 dpi, the screen the layout was made for
    image.setDotsPerMeterY(3780);
    {
        QPainter painter(&image);
        qtcanvas::QPainterCanvas::installFontSubstitutions();
        qtcanvas::QPainterCanvas canvas(painter);
        profile::drawProfileScene(canvas, { width, height }, &dive, options);
    }

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return fail("cannot encode the picture", kExitFailure);
    const std::string bytes(png.constData(), static_cast<std::size_t>(png.size()));
    const common::Result saved = common::saveFileAtomically(localPath(outPath), bytes);
    if (!saved)
        return fail("cannot save " + shownPath(outPath) + ": " + saved.message(), kExitFailure);
    return 0;
}

} // namespace zorv::cli
