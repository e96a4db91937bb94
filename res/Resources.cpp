#include "res/Resources.h"

#include "res/resource.h"

QImage QvLoadBitmapResource(UINT nID)
{
    if (nID != IDB_SPRITES) return QImage();
    return QImage(QStringLiteral(":/res/sprites.bmp"));
}
