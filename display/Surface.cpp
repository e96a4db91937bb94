#include "display/Surface.h"

#include "display/FrameScale.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

__extension__ typedef __int128 Int128;

bool IsBlack(QRgb p) { return (p & 0x00FFFFFFu) == 0; }

}  // namespace

bool QvTruncToPixel(double d, int& n)
{
    // NaN fails both comparisons; the bounds are the first values whose
    // truncation no longer fits.
    if (!(d > -2147483649.0 && d < 2147483648.0)) return false;
    n = static_cast<int>(d);
    return true;
}

QFont QvDisplayFont()
{
    // The original drew with the device context's default font, about 13 pixels
    // high, without smoothing: crisp glyphs in exactly the text colour.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// ---------------------------------------------------------------------------
// CSurface

CSurface::CSurface(int nWidth, int nHeight)
{
    if (nWidth <= 0 || nHeight <= 0) return;
    m_image = QImage(nWidth, nHeight, QImage::Format_RGB32);
    if (!m_image.isNull()) m_image.fill(0xFF000000u);
}

CSurface::~CSurface()
{
    if (m_pScreen) m_pScreen->PrimaryGone(this);
}

void CSurface::BltFast(int x, int y, const CSurface& src, const RECT& rcSrc, UINT nFlags)
{
    if (IsNull() || src.IsNull()) return;
    // Clip in 64 bits: the source rectangle to the source, then the destination.
    long long sl = rcSrc.left, st = rcSrc.top, sr = rcSrc.right, sb = rcSrc.bottom;
    long long dx = x, dy = y;
    if (sl < 0) { dx -= sl; sl = 0; }
    if (st < 0) { dy -= st; st = 0; }
    sr = std::min<long long>(sr, src.Width());
    sb = std::min<long long>(sb, src.Height());
    if (dx < 0) { sl -= dx; dx = 0; }
    if (dy < 0) { st -= dy; dy = 0; }
    sr = std::min<long long>(sr, sl + (Width() - dx));
    sb = std::min<long long>(sb, st + (Height() - dy));
    if (sr <= sl || sb <= st) return;

    const int w = static_cast<int>(sr - sl);
    const bool key = (nFlags & DDBLTFAST_SRCCOLORKEY) != 0;
    const bool whole = !key && &src != this && sl == 0 && st == 0 && dx == 0 && dy == 0 &&
                       w == Width() && src.Width() == Width() && sb - st == Height();
    if (whole) {
        std::memcpy(m_image.bits(), src.m_image.constBits(), static_cast<size_t>(m_image.sizeInBytes()));
        return;
    }
    for (long long row = st; row < sb; ++row) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.m_image.constScanLine(static_cast<int>(row))) + sl;
        QRgb* d = reinterpret_cast<QRgb*>(m_image.scanLine(static_cast<int>(dy + row - st))) + dx;
        if (!key) {
            std::memmove(d, s, static_cast<size_t>(w) * sizeof(QRgb));
        } else {
            for (int i = 0; i < w; ++i)
                if (!IsBlack(s[i])) d[i] = s[i];
        }
    }
}

void CSurface::BitBlt(const QImage& image)
{
    if (IsNull() || image.isNull()) return;
    QImage converted = image.convertToFormat(QImage::Format_RGB32);
    const int w = std::min(Width(), converted.width());
    const int h = std::min(Height(), converted.height());
    for (int row = 0; row < h; ++row)
        std::memcpy(m_image.scanLine(row), converted.constScanLine(row), static_cast<size_t>(w) * sizeof(QRgb));
}

void CSurface::Plot(long long x, long long y, QRgb pixel)
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
    reinterpret_cast<QRgb*>(m_image.scanLine(static_cast<int>(y)))[x] = pixel;
}

void CSurface::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    if (IsNull() || cx <= 0 || cy <= 0) return;
    const long long l = std::max<long long>(x, 0), t = std::max<long long>(y, 0);
    const long long r = std::min<long long>(static_cast<long long>(x) + cx, Width());
    const long long b = std::min<long long>(static_cast<long long>(y) + cy, Height());
    const QRgb pixel = QvPixelOf(color);
    for (long long row = t; row < b; ++row) {
        QRgb* d = reinterpret_cast<QRgb*>(m_image.scanLine(static_cast<int>(row)));
        std::fill(d + l, d + r, pixel);
    }
}

void CSurface::DrawLine(int x1, int y1, int x2, int y2, COLORREF color, int nWidth)
{
    if (IsNull()) return;
    const QRgb pixel = QvPixelOf(color);
    const int radius = nWidth > 1 ? nWidth / 2 : 0;

    // Bresenham along the longer axis ("a"), the shorter one being "b"; the
    // b offset at step k is k·db/da rounded half up, so both end points are hit.
    const bool xMajor = std::llabs(static_cast<long long>(x2) - x1) >= std::llabs(static_cast<long long>(y2) - y1);
    const long long a1 = xMajor ? x1 : y1, b1 = xMajor ? y1 : x1;
    const long long a2 = xMajor ? x2 : y2, b2 = xMajor ? y2 : x2;
    const long long da = std::llabs(a2 - a1), db = std::llabs(b2 - b1);
    const int sa = a2 >= a1 ? 1 : -1, sb = b2 >= b1 ? 1 : -1;
    const long long limitA = xMajor ? Width() : Height();

    auto stamp = [&](long long a, long long b) {
        const long long x = xMajor ? a : b, y = xMajor ? b : a;
        if (radius == 0) {
            Plot(x, y, pixel);
            return;
        }
        for (int oy = -radius; oy <= radius; ++oy)
            for (int ox = -radius; ox <= radius; ++ox)
                if (ox * ox + oy * oy <= radius * radius) Plot(x + ox, y + oy, pixel);
    };

    // Only the steps whose dot can touch the surface are walked, so lines with
    // far-away end points cost no more than short ones.
    const long long lo = -radius, hi = limitA - 1 + radius;
    long long kFrom, kTo;
    if (sa > 0) {
        kFrom = std::max<long long>(0, lo - a1);
        kTo = std::min<long long>(da, hi - a1);
    } else {
        kFrom = std::max<long long>(0, a1 - hi);
        kTo = std::min<long long>(da, a1 - lo);
    }
    if (kFrom > kTo) return;
    if (da == 0) {
        stamp(a1, b1);
        return;
    }
    const long long den = 2 * da;
    const Int128 num = static_cast<Int128>(2) * kFrom * db + da;
    long long q = static_cast<long long>(num / den);
    long long rem = static_cast<long long>(num % den);
    for (long long k = kFrom; k <= kTo; ++k) {
        stamp(a1 + sa * k, b1 + sb * q);
        rem += 2 * db;
        if (rem >= den) {
            rem -= den;
            ++q;
        }
    }
}

void CSurface::TextOut(int x, int y, const QString& text, COLORREF textColor, UINT nAlign, int nBkMode,
                       COLORREF bkColor)
{
    if (IsNull() || text.isEmpty()) return;
    const QFont font = QvDisplayFont();
    const QFontMetrics fm(font);
    const long long w = fm.horizontalAdvance(text), ascent = fm.ascent(), h = fm.ascent() + fm.descent();
    long long left = x, top = y;
    if ((nAlign & TA_CENTER) == TA_CENTER) left -= w / 2;
    else if (nAlign & TA_RIGHT) left -= w;
    if ((nAlign & TA_BASELINE) == TA_BASELINE) top -= ascent;
    else if (nAlign & TA_BOTTOM) top -= h;
    if (left >= Width() || top >= Height() || left + w <= 0 || top + h <= 0) return;

    QPainter painter(&m_image);
    if (nBkMode == OPAQUE)
        painter.fillRect(QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(w), static_cast<int>(h)),
                         QColor::fromRgb(QvPixelOf(bkColor)));
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(QvPixelOf(textColor)));
    painter.drawText(QPoint(static_cast<int>(left), static_cast<int>(top + ascent)), text);
}

void CSurface::Flip()
{
    if (!m_pBackBuffer) return;
    m_image.swap(m_pBackBuffer->m_image);
    if (m_pScreen) m_pScreen->Present();
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

// ---------------------------------------------------------------------------
// CScreen

class QvScreenPainter : public QObject {
public:
    explicit QvScreenPainter(CScreen* pScreen) : m_pScreen(pScreen) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched == m_pScreen->m_pWindow) {
            m_pScreen->PaintWindow(static_cast<QWidget*>(watched), static_cast<QPaintEvent*>(event)->rect());
            return true;
        }
        return false;
    }

private:
    CScreen* m_pScreen;
};

CScreen::CScreen() = default;

CScreen::~CScreen()
{
    SetNormalCooperativeLevel();
    if (m_pPrimary) m_pPrimary->m_pScreen = nullptr;
}

BOOL CScreen::SetCooperativeLevel(QWidget* pWindow)
{
    if (!pWindow) return TRUE;
    QScreen* screen = pWindow->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return FALSE;
    m_pWindow = pWindow;
    // A borderless window over the whole screen, painted black except the frame.
    if (!(pWindow->windowFlags() & Qt::FramelessWindowHint))
        pWindow->setWindowFlags(pWindow->windowFlags() | Qt::FramelessWindowHint);
    pWindow->setMinimumSize(0, 0);
    pWindow->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    pWindow->setAttribute(Qt::WA_OpaquePaintEvent);
    pWindow->setAttribute(Qt::WA_NoSystemBackground);
    QPalette pal = pWindow->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pWindow->setPalette(pal);
    pWindow->setGeometry(screen->geometry());
    pWindow->setWindowState(pWindow->windowState() | Qt::WindowFullScreen);
    m_pPainter = new QvScreenPainter(this);
    pWindow->installEventFilter(m_pPainter);
    return TRUE;
}

void CScreen::SetNormalCooperativeLevel()
{
    if (m_pPainter) {
        if (m_pWindow) m_pWindow->removeEventFilter(m_pPainter);
        delete m_pPainter;
        m_pPainter = nullptr;
    }
    m_pWindow = nullptr;
}

BOOL CScreen::SetDisplayMode(int nWidth, int nHeight)
{
    if (nWidth <= 0 || nHeight <= 0) return FALSE;
    if (m_pWindow) {
        QScreen* screen = m_pWindow->screen();
        if (!screen || screen->geometry().isEmpty()) return FALSE;
    }
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    return TRUE;
}

std::unique_ptr<CSurface> CScreen::CreatePrimarySurface()
{
    if (m_nWidth <= 0 || m_nHeight <= 0) return nullptr;
    auto primary = std::make_unique<CSurface>(m_nWidth, m_nHeight);
    if (primary->IsNull()) return nullptr;
    auto back = std::make_unique<CSurface>(m_nWidth, m_nHeight);
    if (!back->IsNull()) primary->m_pBackBuffer = std::move(back);
    primary->m_pScreen = this;
    m_pPrimary = primary.get();
    return primary;
}

CSurface* CScreen::CreateSurface(int nWidth, int nHeight)
{
    auto surface = std::make_unique<CSurface>(nWidth, nHeight);
    if (surface->IsNull()) return nullptr;
    m_surfaces.push_back(std::move(surface));
    return m_surfaces.back().get();
}

void CScreen::Present()
{
    // Only the frame changes; the bars stay as painted.
    if (m_pWindow) m_pWindow->update(QvFrameRect(m_pWindow->size(), QSize(m_nWidth, m_nHeight)));
}

void CScreen::PrimaryGone(CSurface* pPrimary)
{
    if (m_pPrimary == pPrimary) m_pPrimary = nullptr;
    if (m_pWindow) m_pWindow->update();
}

void CScreen::PaintWindow(QWidget* pWidget, const QRect& exposed)
{
    QPainter painter(pWidget);
    if (m_pPrimary && !m_pPrimary->IsNull())
        QvPaintFrame(painter, pWidget->size(), m_pPrimary->Image(), m_scaled, exposed);
    else painter.fillRect(pWidget->rect(), Qt::black);
}
