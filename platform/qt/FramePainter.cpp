// How the Qt platform puts a frame on the screen, and the display font as Qt
// draws it (the reference the glyph sheet is made from).
#include "platform/qt/FramePainter.h"

#include <QPaintEngine>
#include <QPainter>
#include <cmath>
#include <cstring>

QFont QvDisplayFont()
{
    // The original drew with the device context's default font, about 13 pixels
    // high, without smoothing: crisp glyphs in exactly the text colour. The
    // frame draws it from the glyph sheet made from this font.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QImage QvImageOf(const CSurface& surface)
{
    if (surface.IsNull()) return QImage();
    return QImage(reinterpret_cast<const uchar*>(surface.Bits()), surface.Width(), surface.Height(),
                  static_cast<qsizetype>(surface.Width()) * 4, QImage::Format_RGB32);
}

// ---------------------------------------------------------------------------
// Presentation

QRect QvFrameRect(const QSize& screen, const QSize& frame)
{
    if (screen.isEmpty() || frame.isEmpty()) return QRect();
    const long long sw = screen.width(), sh = screen.height(), fw = frame.width(), fh = frame.height();
    long long w, h;
    if (sw * fh <= sh * fw) {
        w = sw;
        h = sw * fh / fw;
    } else {
        h = sh;
        w = sh * fw / fh;
    }
    return QRect(static_cast<int>((sw - w) / 2), static_cast<int>((sh - h) / 2), static_cast<int>(w),
                 static_cast<int>(h));
}

namespace {

// Nearest pixel: output pixel x shows frame column x·fw/w, so every frame pixel
// becomes a block and nothing is blended. `dst` points at the first pixel of
// the w×h target, lines `stride` bytes apart.
void ScaleInto(const QImage& src, uchar* dst, qsizetype stride, int w, int h)
{
    const int fw = src.width(), fh = src.height();
    std::vector<int> column(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x) column[static_cast<size_t>(x)] = static_cast<int>(static_cast<long long>(x) * fw / w);
    int previous = -1;
    for (int y = 0; y < h; ++y) {
        const int row = static_cast<int>(static_cast<long long>(y) * fh / h);
        QRgb* d = reinterpret_cast<QRgb*>(dst + y * stride);
        if (row == previous) {
            std::memcpy(d, dst + (y - 1) * stride, static_cast<size_t>(w) * sizeof(QRgb));
            continue;
        }
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(row));
        for (int x = 0; x < w; ++x) d[x] = s[column[static_cast<size_t>(x)]];
        previous = row;
    }
}

// The 32-bit image that the painter writes into and where `r` lies in it, when
// the frame can be scaled straight into it (a plain translation, no scaling).
QImage* DirectTarget(QPainter& painter, QRect& r)
{
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image) return nullptr;
    auto* image = static_cast<QImage*>(device);
    if (image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    if (image->devicePixelRatio() != 1.0) return nullptr;
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return nullptr;
    const QRect target = r.translated(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
    if (!image->rect().contains(target)) return nullptr;
    r = target;
    return image;
}

}  // namespace

void QvScaleFrame(const QImage& frame, const QSize& size, QImage& out)
{
    if (out.size() != size || out.format() != QImage::Format_RGB32) out = QImage(size, QImage::Format_RGB32);
    if (out.isNull() || frame.isNull()) return;
    const QImage src = frame.format() == QImage::Format_RGB32 ? frame : frame.convertToFormat(QImage::Format_RGB32);
    ScaleInto(src, out.bits(), out.bytesPerLine(), size.width(), size.height());
}

void QvPaintFrame(QPainter& painter, const QSize& device, const QImage& frame, QImage& scaled, const QRect& exposed)
{
    const QRect r = QvFrameRect(device, frame.size());
    const QRect all(QPoint(0, 0), device);
    const QRect dirty = exposed.isNull() ? all : exposed;
    if (r.isEmpty()) {
        painter.fillRect(dirty, Qt::black);
        return;
    }
    // Black bars around the frame where they need painting, never under it.
    if (!r.contains(dirty)) {
        const QRect bars[4] = {QRect(0, 0, device.width(), r.top()),
                               QRect(0, r.bottom() + 1, device.width(), device.height() - r.bottom() - 1),
                               QRect(0, r.top(), r.left(), r.height()),
                               QRect(r.right() + 1, r.top(), device.width() - r.right() - 1, r.height())};
        for (const QRect& bar : bars)
            if (bar.intersects(dirty)) painter.fillRect(bar & dirty, Qt::black);
    }
    if (!r.intersects(dirty)) return;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (r.size() == frame.size()) {
        painter.drawImage(r.topLeft(), frame);
        return;
    }
    // Scaling straight into the painter's image saves a pass over the screen.
    QRect target = r;
    if (frame.format() == QImage::Format_RGB32) {
        if (QImage* image = DirectTarget(painter, target)) {
            ScaleInto(frame, image->bits() + target.top() * image->bytesPerLine() + target.left() * 4,
                      image->bytesPerLine(), target.width(), target.height());
            return;
        }
    }
    QvScaleFrame(frame, r.size(), scaled);
    painter.drawImage(r.topLeft(), scaled);
}
