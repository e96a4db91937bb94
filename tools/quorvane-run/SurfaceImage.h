// A surface of the run as a Qt image, for the commands that write pictures:
// no copy, valid while the surface lives and is not drawn on.
#pragma once

#include "display/Surface.h"
#include "platform/qt/FramePainter.h"

inline QImage QvImageOf(const CSurface& surface)
{
    return surface.IsNull() ? QImage() : QvImageOf(surface.Bits(), surface.Width(), surface.Height());
}
