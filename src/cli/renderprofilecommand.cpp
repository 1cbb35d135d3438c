#include "renderprofilecommand.h"

#include "arguments.h"
#include "common/atomicfile.h"
#include "common/cformat.h"
#include "common/translation.h"
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
        QCommandLineOption(kWidth,
            QString::fromUtf8(common::tr("render-profile : largeur de l'image (900 par défaut).")), QStringLiteral("W"),
            QStringLiteral("900")),
        QCommandLineOption(kHeight,
            QString::fromUtf8(common::tr("render-profile : hauteur de l'image (600 par défaut).")), QStringLiteral("H"),
            QStringLiteral("600")),
        QCommandLineOption(kCursor,
            QString::fromUtf8(common::tr("render-profile : point sous le curseur (par défaut : le plus profond).")),
            QStringLiteral("SAMPLE")),
    });
}

int commandRenderProfile(
    Environment &env, const QCommandLineParser &parser, const QString &positionText, const QString &outPath)
{
    int position = 0;
    const int count = env.logbook.diveCount();
    if (!parseNumber(positionText, 1, count, position))
        return fail(common::cformat(common::tr("la position doit être un nombre de 1 à %d"), count), kExitUsage);
    int width = 0;
    int height = 0;
    if (!parseNumber(parser.value(kWidth), profile::kMinimumSceneSize.width, 8000, width)
        || !parseNumber(parser.value(kHeight), profile::kMinimumSceneSize.height, 8000, height))
        return fail(common::cformat(common::tr("--width et --height doivent aller de %d et %d jusqu'à 8000"),
                        profile::kMinimumSceneSize.width, profile::kMinimumSceneSize.height),
            kExitUsage);

    const logbook::DiveRecord &dive = *env.logbook.dive(position);
    int cursor = 0;
    if (parser.isSet(kCursor)) {
        if (!parseNumber(parser.value(kCursor), 0, dive.sampleCount, cursor))
            return fail(common::cformat(
                            common::tr("--cursor doit être un point de 0 à %d"), static_cast<int>(dive.sampleCount)),
                kExitUsage);
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
        return fail(common::tr("impossible d'encoder l'image"), kExitFailure);
    const std::string bytes(png.constData(), static_cast<std::size_t>(png.size()));
    const common::Result saved = common::saveFileAtomically(localPath(outPath), bytes);
    if (!saved)
        return fail(common::cformat(common::tr("impossible d'enregistrer %s : %s"), shownPath(outPath).c_str(),
                        saved.message().c_str()),
            kExitFailure);
    return 0;
}

} // namespace zorv::cli
