// Draws icon 128, a small ringed planet, at 32 x 32 and 16 x 16 pixels and
// writes res/icon32.png and res/icon16.png (or into the folder given), and the
// larger sizes of the desktop icon theme as res/icons/quorvane-<size>.png.
// Usage: gen_icon [output-folder]
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <cstdio>

namespace {

// The planet on a transparent square of `size` pixels. It is drawn eight
// times larger and scaled down, which gives clean edges at icon sizes.
QImage DrawPlanet(int size)
{
    const int big = size * 8;
    QImage image(big, big, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(big / 2.0, big / 2.0);

    const double r = big * 0.30;  // sphere radius
    const double ringW = big * 0.48, ringH = big * 0.15;
    const double tilt = -22.0;
    QPen ringPen(QColor(226, 186, 96), big * 0.055);
    QPen ringEdge(QColor(120, 82, 30), big * 0.085);

    auto drawRing = [&](bool frontHalf) {
        p.save();
        p.rotate(tilt);
        if (frontHalf) p.setClipRect(QRectF(-big, 0, 2.0 * big, big));
        p.setBrush(Qt::NoBrush);
        p.setPen(ringEdge);
        p.drawEllipse(QPointF(0, 0), ringW, ringH);
        p.setPen(ringPen);
        p.drawEllipse(QPointF(0, 0), ringW, ringH);
        p.restore();
    };

    // Back of the ring, the lit sphere, then the front of the ring over it.
    drawRing(false);
    QRadialGradient light(QPointF(-r * 0.4, -r * 0.45), r * 1.5);
    light.setColorAt(0.0, QColor(200, 235, 255));
    light.setColorAt(0.35, QColor(70, 140, 220));
    light.setColorAt(0.8, QColor(25, 55, 140));
    light.setColorAt(1.0, QColor(10, 20, 60));
    p.setPen(QPen(QColor(8, 16, 48), big * 0.02));
    p.setBrush(light);
    p.drawEllipse(QPointF(0, 0), r, r);
    drawRing(true);
    p.end();

    return image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

int main(int argc, char** argv)
{
    QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("res");
    for (int size : {32, 16, 48, 64, 128, 256}) {
        QString path = size <= 32 ? QStringLiteral("%1/icon%2.png").arg(folder).arg(size)
                                  : QStringLiteral("%1/icons/quorvane-%2.png").arg(folder).arg(size);
        if (!DrawPlanet(size).save(path, "PNG")) {
            std::fprintf(stderr, "gen_icon: cannot write %s\n", path.toLocal8Bit().constData());
            return 1;
        }
        std::printf("%s\n", path.toLocal8Bit().constData());
    }
    return 0;
}
