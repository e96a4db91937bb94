// The page's side of the browser platform: calls into platform/web/js/, and the
// queue of what the user and the clock did, which the modal loops empty.
#pragma once

#include <string>

#include "platform/Afx.h"

// What the page posts: a command of a control, a key of a window without
// controls, a tick of a timer, Enter in a dialog, the answer of a message box.
enum class QvPageEventKind { Command = 1, Key = 2, Timer = 3, Enter = 4, Answer = 5 };

struct QvPageEvent {
    int window;  // the page's handle of the window it is for
    QvPageEventKind kind;
    int a;       // command id, virtual key, timer id, the focused control at Enter, or answer
    int b;       // notification code or key flags
};

// Waits (the browser runs meanwhile) for the next event of the page.
QvPageEvent QvWaitPageEvent();

// Page handles are small positive numbers; windows and controls share them.
inline HWND QvHandleWindow(int handle) { return reinterpret_cast<HWND>(static_cast<intptr_t>(handle)); }
inline int QvWindowHandle(HWND hWnd) { return static_cast<int>(reinterpret_cast<intptr_t>(hWnd)); }

extern "C" {
int qv_page_dialog_create(const char* caption, int cx, int cy);
// The dialog font's width of "A..Za..z" (vertical 0) or height, in pixels.
int qv_page_font_size(int vertical);
// What the page does for a control beyond its kind: the flags below.
enum : unsigned { kQvPageReadOnly = 1, kQvPageDefault = 2, kQvPageKeepsEnter = 4 };
int qv_page_control_create(int dialog, int id, int kind, const char* text, unsigned flags, int x, int y, int cx, int cy);
void qv_page_dialog_show(int dialog, int focusFirst);
void qv_page_dialog_hide(int dialog);
void qv_page_dialog_destroy(int dialog);
char* qv_page_get_text(int control, int* length);  // malloc'd UTF-8 of `length` bytes
void qv_page_set_text(int control, const char* utf8, int length);
int qv_page_get_check(int control);
void qv_page_set_check(int control, int checked);
void qv_page_enable(int control, int enable);
int qv_page_is_enabled(int control);
void qv_page_focus_select(int control);
int qv_page_combo_count(int combo);
int qv_page_combo_insert(int combo, int index, const char* utf8);
void qv_page_combo_delete(int combo, int index);
int qv_page_combo_get_sel(int combo);
void qv_page_combo_set_sel(int combo, int index);
void qv_page_timer_set(int window, unsigned id, unsigned ms);
int qv_page_timer_kill(int window, unsigned id);
void qv_page_message_box(const char* utf8, int yesNo, int question);
void qv_page_cursor_hidden(int hidden);
int qv_page_screen_take(int window);
int qv_page_screen_has_area(int window);
void qv_page_screen_size(int* size);  // the viewport in device pixels: width, height
// On a screen of the given size in device pixels, w×h pixels, bytes R, G,
// B, A, rows packed, at (x, y), black around them (rgba nullptr: black only).
void qv_page_screen_show(int window, int sw, int sh, const uint32_t* rgba, int x, int y, int w, int h);
void qv_page_screen_release(int window);
void qv_page_program_ended();
}
