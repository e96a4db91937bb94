// On Qt a window handle is the QWidget itself: the casts live here, for the
// Qt platform's own files and for tests that look at the widgets.
#pragma once

#include <QWidget>

#include "platform/Afx.h"

inline QWidget* QvWidget(HWND hWnd)
{
    return reinterpret_cast<QWidget*>(hWnd);
}

inline HWND QvHandle(QWidget* pWidget)
{
    return reinterpret_cast<HWND>(pWidget);
}

class QIcon;

// An icon handle is the QIcon.
inline QIcon* QvIcon(HICON hIcon)
{
    return reinterpret_cast<QIcon*>(hIcon);
}
