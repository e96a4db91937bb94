// How the Qt platform puts a frame on the screen, and the display font as Qt
// draws it (the reference the glyph sheet is made from).
#include "platform/qt/FramePainter.h"

#include "platform/FrameScale.h"

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

QImage QvImageOf(const uint32_t* pixels, int width, int height)
{
    if (!pixels) return QImage();
    return QImage(reinterpret_cast<const uchar*>(pixels), width, height, static_cast<qsizetype>(width) * 4,
                  QImage::Format_RGB32);
}

// ---------------------------------------------------------------------------
// Presentation

QRect QvFrameRect(const QSize& screen, const QSize& frame)
{
    const QvFrameBox box = QvFitFrame(screen.width(), screen.height(), frame.width(), frame.height());
    return box.width > 0 ? QRect(box.x, box.y, box.width, box.height) : QRect();
}

namespace {

// The frame scaled into the w×h target at `dst`, lines `stride` bytes apart.
// The scale's tables are kept: the sizes stay the same from frame to frame.
void ScaleInto(const QImage& src, uchar* dst, qsizetype stride, int w, int h)
{
    thread_local CFrameScale scale;
    if (scale.SrcWidth() != src.width() || scale.SrcHeight() != src.height() || scale.DstWidth() != w ||
        scale.DstHeight() != h)
        scale = CFrameScale(src.width(), src.height(), w, h);
    scale.Scale(reinterpret_cast<const uint32_t*>(src.constBits()), src.bytesPerLine() / 4,
                reinterpret_cast<uint32_t*>(dst), stride / 4);
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
