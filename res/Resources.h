// The program's binary resources by id.
#pragma once

#include <QIcon>
#include <QImage>

#include "platform/Afx.h"

// Icon resource nID (both sizes), or a null icon. The object lives for the whole run.
QIcon* QvLoadIconResource(UINT nID);
// Bitmap resource nID as stored (24 bits per pixel), or a null image.
QImage QvLoadBitmapResource(UINT nID);
