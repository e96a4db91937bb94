// The full screen of a run on Qt: the dialog's window over the whole screen,
// painted black with the frame scaled into it.
#include <QEvent>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include "platform/Window.h"
#include "platform/qt/FramePainter.h"
#include "platform/qt/QtWindow.h"

namespace {
// Paints the window it watches: the last frame shown, or black.
class QvScreenPainter : public QObject {
public:
    explicit QvScreenPainter(QWidget* pWindow) : QObject(pWindow), m_pWindow(pWindow) {}

    void Show(const uint32_t* pixels, int w, int h)
    {
        const bool had = !m_frame.isNull();
        m_frame = pixels ? QImage(reinterpret_cast<const uchar*>(pixels), w, h, static_cast<qsizetype>(w) * 4,
                                  QImage::Format_RGB32)
                         : QImage();
        // Only the frame changes from one flip to the next; the bars stay as painted.
        if (had && !m_frame.isNull()) m_pWindow->update(QvFrameRect(m_pWindow->size(), m_frame.size()));
        else m_pWindow->update();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || watched != m_pWindow) return false;
        QPainter painter(m_pWindow);
        const QRect exposed = static_cast<QPaintEvent*>(event)->rect();
        if (m_frame.isNull()) painter.fillRect(m_pWindow->rect(), Qt::black);
        else QvPaintFrame(painter, m_pWindow->size(), m_frame, m_scaled, exposed);
        return true;
    }

private:
    QWidget* m_pWindow;
    QImage m_frame;   // the primary surface's pixels, not a copy
    QImage m_scaled;  // kept between paints
};

QvScreenPainter* PainterOf(QWidget* w)
{
    return w ? w->findChild<QvScreenPainter*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}
}  // namespace

bool QvTakeScreen(HWND hWnd)
{
    QWidget* pWindow = QvWidget(hWnd);
    if (!pWindow) return false;
    QScreen* screen = pWindow->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return false;
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
    if (!PainterOf(pWindow)) pWindow->installEventFilter(new QvScreenPainter(pWindow));
    return true;
}

bool QvScreenHasArea(HWND hWnd)
{
    QWidget* pWindow = QvWidget(hWnd);
    QScreen* screen = pWindow ? pWindow->screen() : nullptr;
    return screen && !screen->geometry().isEmpty();
}

void QvShowFrame(HWND hWnd, const uint32_t* pixels, int w, int h)
{
    if (QvScreenPainter* p = PainterOf(QvWidget(hWnd))) p->Show(pixels, w, h);
}

void QvReleaseScreen(HWND hWnd)
{
    QWidget* pWindow = QvWidget(hWnd);
    if (QvScreenPainter* p = PainterOf(pWindow)) {
        pWindow->removeEventFilter(p);
        delete p;
    }
}
