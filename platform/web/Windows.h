// The dialogs the page shows, as the C++ side knows them: whom their events
// go to, their controls, whether their modal loop has ended.
#pragma once

#include <vector>

#include "platform/Dialog.h"
#include "platform/Window.h"
#include "platform/web/Page.h"

struct QvWebControl {
    int id;
    int handle;
    QvControlKind kind;
};

struct QvWebWindow {
    int handle = 0;
    CDialog* owner = nullptr;
    std::vector<QvWebControl> controls;
    int defaultId = IDOK;  // see QvDefaultCommand
    int defaultHandle = 0;  // 0: no default button
    bool loopEnded = false;
    std::vector<std::pair<UINT, CWnd*>> timers;
};

// nullptr when the handle is no window (any more).
QvWebWindow* QvFindWebWindow(int handle);
QvWebWindow& QvAddWebWindow(int handle);
void QvRemoveWebWindow(int handle);
// Waits for the next event and hands it to its window; `answer` receives a
// message box's answer when that is what came.
void QvDispatchPageEvent(int* answer);
