// The program's bitmap resources by id.
#pragma once

#include <QImage>

#include "platform/Afx.h"

// Bitmap resource nID as stored (24 bits per pixel), or a null image.
QImage QvLoadBitmapResource(UINT nID);
