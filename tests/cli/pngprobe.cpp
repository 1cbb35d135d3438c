// Reads a picture zorv-cli wrote and checks it holds a drawing: its size, and pixels apart from the background.
#include <QHash>
#include <QImage>
#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: pngprobe FILE WIDTH HEIGHT\n");
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[1]), "PNG");
    if (image.isNull()) {
        std::fprintf(stderr, "%s is not a PNG picture\n", argv[1]);
        return 1;
    }
    const int width = QByteArray(argv[2]).toInt();
    const int height = QByteArray(argv[3]).toInt();
    if (image.width() != width || image.height() != height) {
        std::fprintf(stderr, "%s is %dx%d, expected %dx%d\n", argv[1], image.width(), image.height(), width, height);
        return 1;
    }
    // The background is the commonest colour; a profile with its grid, axes and
    // labels colours far more than a few stray pixels.
    QHash<QRgb, qsizetype> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    qsizetype background = 0;
    for (const qsizetype n : counts)
        background = std::max(background, n);
    const qsizetype drawn = qsizetype { width } * height - background;
    if (counts.size() < 3 || drawn * 100 < qsizetype { width } * height) {
        std::fprintf(stderr, "%s holds %lld drawn pixels in %lld colours: nothing was drawn\n", argv[1],
            static_cast<long long>(drawn), static_cast<long long>(counts.size()));
        return 1;
    }
    return 0;
}
