// How the Qt platform puts a frame on the screen, and the display font as Qt
// draws it (the reference the glyph sheet is made from).
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>

#include <cstdint>

// The display font as Qt draws it: DejaVu Sans, 13 pixels, without anti-aliasing.
QFont QvDisplayFont();
// A surface's pixels (0xAARRGGBB, rows packed) as a read-only image, without
// a copy; valid while the pixels are.
QImage QvImageOf(const uint32_t* pixels, int width, int height);

// The rectangle of a screen of the given size in which a frame of the given
// size is shown: the largest scale that fits with the aspect kept, centred.
QRect QvFrameRect(const QSize& screen, const QSize& frame);
// The frame scaled to the given size by area (CFrameScale: crisp, every frame
// pixel keeps its shape); `out` is reused when it already has that size.
void QvScaleFrame(const QImage& frame, const QSize& size, QImage& out);
// Paints the frame into the painter's device of the given size: black bars,
// the frame scaled into QvFrameRect; `scaled` keeps the scaled picture between
// calls. Only what lies in `exposed` is painted (a null rectangle: everything).
class QPainter;
void QvPaintFrame(QPainter& painter, const QSize& device, const QImage& frame, QImage& scaled,
                  const QRect& exposed = QRect());
