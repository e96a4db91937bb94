// Dialog templates kept as data: caption, size and font of the dialog, and its
// controls in template order (which is the tab order), positions in dialog units.
#pragma once

#include "platform/Afx.h"

// Window and control styles, with the values of the original platform.
enum : UINT {
    WS_POPUP = 0x80000000u, WS_VISIBLE = 0x10000000u, WS_CAPTION = 0x00C00000u,
    WS_SYSMENU = 0x00080000u, WS_VSCROLL = 0x00200000u, WS_GROUP = 0x00020000u,
    WS_TABSTOP = 0x00010000u, DS_MODALFRAME = 0x80u, DS_SETFONT = 0x40u,
    WS_EX_APPWINDOW = 0x00040000u,
    BS_PUSHBUTTON = 0x0u, BS_DEFPUSHBUTTON = 0x1u, BS_AUTOCHECKBOX = 0x3u,
    BS_GROUPBOX = 0x7u, BS_MULTILINE = 0x2000u,
    ES_LEFT = 0x0u, ES_MULTILINE = 0x4u, ES_AUTOVSCROLL = 0x40u, ES_AUTOHSCROLL = 0x80u,
    ES_READONLY = 0x800u, ES_WANTRETURN = 0x1000u, WS_BORDER = 0x00800000u,
    SS_LEFT = 0x0u,
    CBS_DROPDOWNLIST = 0x3u, CBS_SORT = 0x100u,
};

enum class DlgItemKind { Button, Edit, Static, ComboBox };

struct DlgItemTemplate {
    int id;                          // -1 for controls without an id of their own
    DlgItemKind kind;
    const char* text;                // UTF-8; nullptr for none
    UINT style;
    short x, y, cx, cy;              // dialog units
    const char* const* initStrings;  // combo box lines filled at creation, nullptr-terminated, or nullptr
};

struct DlgTemplate {
    UINT id;
    const char* caption;  // UTF-8
    UINT style;
    UINT exStyle;
    short cx, cy;         // dialog units
    const char* fontFace;
    int fontPointSize;
    const DlgItemTemplate* items;
    int itemCount;
};

// The template with that id, or nullptr.
const DlgTemplate* QvFindDialogTemplate(UINT id);
