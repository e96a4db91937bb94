// Each call goes to qvPage, the object of platform/web/js/ (Module.qvPage).
#include "platform/web/Page.h"

#include <emscripten.h>

EM_ASYNC_JS(void, qv_page_wait, (int* out), {
    const e = await qvPage.nextEvent();
    HEAP32[(out >> 2) + 0] = e.window;
    HEAP32[(out >> 2) + 1] = e.kind;
    HEAP32[(out >> 2) + 2] = e.a | 0;
    HEAP32[(out >> 2) + 3] = e.b | 0;
});

QvPageEvent QvWaitPageEvent()
{
    int e[4] = {0, 0, 0, 0};
    qv_page_wait(e);
    return QvPageEvent{e[0], static_cast<QvPageEventKind>(e[1]), e[2], e[3]};
}

EM_JS(int, qv_page_dialog_create, (const char* caption, int cx, int cy), {
    return qvPage.dialogCreate(UTF8ToString(caption), cx, cy);
});
EM_JS(int, qv_page_font_size, (int vertical), { return qvPage.fontSize(vertical); });
EM_JS(int, qv_page_control_create, (int dialog, int id, int kind, const char* text, unsigned flags, int x, int y, int cx, int cy), {
    return qvPage.controlCreate(dialog, id, kind, text ? UTF8ToString(text) : "", flags, x, y, cx, cy);
});
EM_JS(void, qv_page_dialog_show, (int dialog, int focusFirst), { qvPage.dialogShow(dialog, focusFirst); });
EM_JS(void, qv_page_dialog_hide, (int dialog), { qvPage.dialogHide(dialog); });
EM_JS(void, qv_page_dialog_destroy, (int dialog), { qvPage.dialogDestroy(dialog); });
// Texts cross with their lengths: a name may hold NUL bytes, kept as the file keeps them.
EM_JS(char*, qv_page_get_text, (int control, int* length), {
    const s = qvPage.getText(control);
    const n = lengthBytesUTF8(s);
    const p = _malloc(n + 1);
    stringToUTF8(s, p, n + 1);
    HEAP32[length >> 2] = n;
    return p;
});
EM_JS(void, qv_page_set_text, (int control, const char* utf8, int length), {
    qvPage.setText(control, new TextDecoder().decode(HEAPU8.subarray(utf8, utf8 + length)));
});
EM_JS(int, qv_page_get_check, (int control), { return qvPage.getCheck(control); });
EM_JS(void, qv_page_set_check, (int control, int checked), { qvPage.setCheck(control, checked); });
EM_JS(void, qv_page_enable, (int control, int enable), { qvPage.enable(control, enable); });
EM_JS(int, qv_page_is_enabled, (int control), { return qvPage.isEnabled(control); });
EM_JS(void, qv_page_focus_select, (int control), { qvPage.focusSelect(control); });
EM_JS(int, qv_page_combo_count, (int combo), { return qvPage.comboCount(combo); });
EM_JS(int, qv_page_combo_insert, (int combo, int index, const char* utf8), {
    return qvPage.comboInsert(combo, index, UTF8ToString(utf8));
});
EM_JS(void, qv_page_combo_delete, (int combo, int index), { qvPage.comboDelete(combo, index); });
EM_JS(int, qv_page_combo_get_sel, (int combo), { return qvPage.comboGetSel(combo); });
EM_JS(void, qv_page_combo_set_sel, (int combo, int index), { qvPage.comboSetSel(combo, index); });
EM_JS(void, qv_page_timer_set, (int window, unsigned id, unsigned ms), { qvPage.timerSet(window, id >>> 0, ms >>> 0); });
EM_JS(int, qv_page_timer_kill, (int window, unsigned id), { return qvPage.timerKill(window, id >>> 0); });
EM_JS(void, qv_page_message_box, (const char* utf8, int yesNo, int question), {
    qvPage.messageBox(UTF8ToString(utf8), yesNo, null, question);
});
EM_JS(void, qv_page_cursor_hidden, (int hidden), { qvPage.cursorHidden(hidden); });
EM_JS(int, qv_page_screen_take, (int window), { return qvPage.screenTake(window); });
EM_JS(int, qv_page_screen_has_area, (int window), { return qvPage.screenHasArea(window); });
EM_JS(void, qv_page_screen_size, (int* size), {
    const s = qvPage.screenSize();
    HEAP32[(size >> 2) + 0] = s[0];
    HEAP32[(size >> 2) + 1] = s[1];
});
EM_JS(void, qv_page_screen_show, (int window, int sw, int sh, const uint32_t* rgba, int x, int y, int w, int h), {
    qvPage.screenShow(window, sw, sh, HEAPU8.buffer, rgba, x, y, w, h);
});
EM_JS(void, qv_page_screen_release, (int window), { qvPage.screenRelease(window); });
EM_JS(void, qv_page_program_ended, (), { qvPage.programEnded(); });
