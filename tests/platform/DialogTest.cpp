// The dialog layer: window lifetime, template layout, command routing and keys.
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QTest>
#include <gtest/gtest.h>

#include "DialogProbe.h"
#include "platform/DialogLayout.h"
#include "platform/DialogTemplate.h"
#include "res/resource.h"

namespace {

using Log = std::vector<std::string>;

TEST(DialogLifetime, WindowExistsOnlyInsideDoModal)
{
    CProbeDlg dlg(IDD_QUORVANE_DIALOG);
    bool visible = false;
    QString title;
    INT_PTR r = RunDialog(dlg, [&](CDialog& d) {
        visible = d.GetSafeHwnd()->isVisible();
        title = d.GetSafeHwnd()->windowTitle();
        d.EndDialog(42);
    });
    EXPECT_EQ(r, 42);
    EXPECT_TRUE(visible);
    EXPECT_EQ(title, QStringLiteral("Quorvane"));
    EXPECT_EQ(dlg.log, (Log{"init", "destroy"}));
    EXPECT_TRUE(dlg.windowAtDestroy);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dlg.GetDlgItem(IDOK), nullptr);

    // The same object runs again with a fresh window; OnInitDialog returning FALSE
    // keeps the focus where it put it.
    dlg.init = [&dlg] {
        dlg.GetDlgItem(IDC_SYSTEMS)->setFocus();
        return FALSE;
    };
    RunDialog(dlg, [](CDialog& d) {
        EXPECT_EQ(d.GetSafeHwnd()->focusWidget(), d.GetDlgItem(IDC_SYSTEMS));
        d.EndDialog(IDOK);
    });
    // EndDialog inside OnInitDialog ends it before the loop.
    dlg.log.clear();
    dlg.init = [&dlg] {
        dlg.EndDialog(IDOK);
        return TRUE;
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.log, (Log{"init", "destroy"}));
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    EXPECT_EQ(CProbeDlg(9999).DoModal(), -1);
}

TEST(DialogLifetime, NestedModalLoops)
{
    CProbeDlg outer(IDD_QUORVANE_DIALOG);
    CProbeDlg inner(IDD_SYSTEM, &outer);
    CProbeDlg third(IDD_SIMULATION);  // no parent given: owned by the active modal window
    INT_PTR innerResult = 0, thirdResult = 0;
    QvSetDialogOpenedHook([&](CDialog& d) {
        if (&d == &outer) {
            innerResult = inner.DoModal();
            EXPECT_EQ(inner.GetSafeHwnd(), nullptr);
            outer.EndDialog(IDCANCEL);
        } else if (&d == &inner) {
            EXPECT_EQ(inner.GetSafeHwnd()->parentWidget(), outer.GetSafeHwnd());
            EXPECT_EQ(QApplication::activeModalWidget(), inner.GetSafeHwnd());
            thirdResult = third.DoModal();
            inner.EndDialog(IDOK);
        } else {
            EXPECT_EQ(third.GetSafeHwnd()->parentWidget(), inner.GetSafeHwnd());
            QTest::keyClick(third.GetSafeHwnd(), Qt::Key_Escape);
        }
    });
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    QvSetDialogOpenedHook(nullptr);
    EXPECT_EQ(innerResult, IDOK);
    EXPECT_EQ(thirdResult, IDCANCEL);
    EXPECT_EQ(outer.log, (Log{"init", "destroy"}));
}

TEST(DialogLayout, ControlsFollowTemplateInDialogUnits)
{
    const DlgTemplate* t = QvFindDialogTemplate(IDD_SYSTEM);
    ASSERT_NE(t, nullptr);
    CProbeDlg dlg(IDD_SYSTEM);
    RunDialog(dlg, [&](CDialog& d) {
        QWidget* w = d.GetSafeHwnd();
        // Base units computed independently from the dialog font.
        QFontMetrics fm(w->font());
        int letters = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        auto px = [u = QvDialogBaseUnits{(letters / 26 + 1) / 2, fm.height()}](int x, int y, int cx, int cy) {
            return QRect((x * u.cx + 2) / 4, (y * u.cy + 4) / 8, (cx * u.cx + 2) / 4, (cy * u.cy + 4) / 8);
        };
        EXPECT_EQ(w->font().pointSize(), 8);
        EXPECT_EQ(w->size(), px(0, 0, t->cx, t->cy).size());
        EXPECT_EQ(w->minimumSize(), w->maximumSize());

        std::vector<QWidget*> tabStops;
        for (int i = 0; i < t->itemCount; ++i) {
            const DlgItemTemplate& it = t->items[i];
            if (it.id == -1) continue;
            QWidget* c = d.GetDlgItem(it.id);
            ASSERT_NE(c, nullptr) << it.id;
            QRect expected = px(it.x, it.y, it.cx, it.cy);
            if (it.kind == DlgItemKind::ComboBox) {
                // Closed height is the platform's own; the template's includes the list.
                EXPECT_EQ(c->geometry().topLeft(), expected.topLeft()) << it.id;
                EXPECT_EQ(c->width(), expected.width()) << it.id;
                EXPECT_LT(c->height(), expected.height()) << it.id;
            } else {
                EXPECT_EQ(c->geometry(), expected) << it.id;
            }
            if (it.style & WS_TABSTOP) tabStops.push_back(c);
        }
        // The force-law combo box is filled from the template, unsorted, without selection.
        auto* laws = qobject_cast<QComboBox*>(d.GetDlgItem(IDC_FORCETYPE));
        ASSERT_TRUE(laws && laws->count() == 4);
        EXPECT_EQ(laws->itemText(0), QStringLiteral("Quadratica (1/r^2, nessun parametro)"));
        EXPECT_EQ(laws->currentIndex(), -1);

        // Tab order is template order; the first tab stop ("OK") has the focus.
        EXPECT_EQ(w->focusWidget(), d.GetDlgItem(IDOK));
        QWidget* f = tabStops.front();
        for (size_t i = 1; i < tabStops.size(); ++i) {
            do f = f->nextInFocusChain();
            while (!(f->focusPolicy() & Qt::TabFocus) || !f->isEnabled());
            EXPECT_EQ(f, tabStops[i]) << "tab stop " << i;
        }
        d.EndDialog(IDCANCEL);
    });
}

TEST(DialogCommands, EnterEscapeAndTheCloseBox)
{
    CProbeDlg dlg(IDD_QUORVANE_DIALOG);
    RunDialog(dlg, [](CDialog& d) {
        auto& p = static_cast<CProbeDlg&>(d);
        auto press = [&d](int id, Qt::Key key) {
            d.GetDlgItem(id)->setFocus();
            QTest::keyClick(d.GetDlgItem(id), key);
        };
        // Default button from the chooser; a focused push button runs its own command;
        // the read-only help text keeps Enter (it wants Return); a click is the button's command.
        press(IDC_SYSTEMS, Qt::Key_Return);
        press(IDC_ADDSYSTEM, Qt::Key_Return);
        press(IDC_SYSTEMS, Qt::Key_Enter);
        press(IDC_HELPTEXT, Qt::Key_Return);
        QTest::mouseClick(d.GetDlgItem(IDC_ADDSYSTEM), Qt::LeftButton);
        EXPECT_EQ(p.log, (Log{"init", "ok", "add", "ok", "add"}));
        p.log.clear();
        press(IDC_HELPTEXT, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.log, (Log{"cancel", "destroy"}));

    // The close box is Cancel; a window without controls still ends with Enter or Escape.
    const struct {
        UINT id;
        std::function<void(QWidget*)> act;
        INT_PTR result;
    } cases[] = {{IDD_SYSTEM, [](QWidget* w) { w->close(); }, IDCANCEL},
                 {IDD_SIMULATION, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }, IDOK},
                 {IDD_SIMULATION, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, IDCANCEL}};
    for (const auto& c : cases) {
        CProbeDlg probe(c.id);
        EXPECT_EQ(RunDialog(probe, [&c](CDialog& d) { c.act(d.GetSafeHwnd()); }), c.result);
        EXPECT_EQ(probe.log, (Log{"init", c.result == IDOK ? "ok" : "cancel", "destroy"}));
        EXPECT_TRUE(probe.keys.empty());
    }
}

TEST(DialogKeys, VirtualKeyCodes)
{
    CProbeDlg dlg(IDD_SIMULATION);
    RunDialog(dlg, [](CDialog& d) {
        QWidget* w = d.GetSafeHwnd();
        const std::pair<Qt::Key, Qt::KeyboardModifiers> presses[] = {
            {Qt::Key_T, {}}, {Qt::Key_T, Qt::ShiftModifier} /* Shift itself, then T */, {Qt::Key_5, {}},
            {Qt::Key_5, Qt::KeypadModifier}, {Qt::Key_0, Qt::KeypadModifier}, {Qt::Key_F1, {}}, {Qt::Key_F12, {}},
            {Qt::Key_Left, {}}, {Qt::Key_T, Qt::AltModifier} /* a system key: not a key-down */};
        for (const auto& [key, mods] : presses) QTest::keyClick(w, key, mods);
        // Auto-repeat: one key-down per repeated press, flagged as already down.
        for (int i = 0; i < 3; ++i) {
            QKeyEvent e(QEvent::KeyPress, Qt::Key_V, Qt::NoModifier, QStringLiteral("v"), i > 0);
            QApplication::sendEvent(w, &e);
        }
        QTest::keyClick(w, Qt::Key_Escape);
    });
    std::vector<UINT> codes, repeated;
    for (const KeyRecord& k : dlg.keys) {
        codes.push_back(k.vk);
        repeated.push_back(k.flags & 0x4000u);
        EXPECT_EQ(k.repeat, 1u);
    }
    EXPECT_EQ(codes, (std::vector<UINT>{0x54, 0x10, 0x54, 0x35, 0x65, 0x60, 0x70, 0x7B, 0x25, 0x56, 0x56, 0x56}));
    EXPECT_EQ(repeated, (std::vector<UINT>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x4000, 0x4000}));

    // Shift+1 on an X11 keyboard arrives as "!" with key code 10: still the 1 key.
    EXPECT_EQ(QvVirtualKeyFromQt(Qt::Key_Exclam, Qt::ShiftModifier, 10), 0x31u);
    EXPECT_EQ(QvVirtualKeyFromQt(Qt::Key_Equal, Qt::ShiftModifier, 19), 0x30u);
    EXPECT_EQ(QvVirtualKeyFromQt(Qt::Key_Exclam, Qt::ShiftModifier, 0), 0u);
    EXPECT_EQ(QvVirtualKeyFromQt(Qt::Key_Home, Qt::KeypadModifier, 79), 0x24u);
}

TEST(DialogTimerAndCursor, TimerTicksUntilKilledAndTheCursorCounts)
{
    CProbeDlg dlg(IDD_SIMULATION);
    dlg.init = [&dlg] {
        EXPECT_EQ(dlg.SetTimer(101, 20), 101u);
        return TRUE;
    };
    RunDialog(dlg, [](CDialog& d) {
        auto& p = static_cast<CProbeDlg&>(d);
        QTRY_VERIFY_WITH_TIMEOUT(p.ticks.size() >= 3, 5000);
        EXPECT_TRUE(p.KillTimer(101));
        EXPECT_FALSE(p.KillTimer(101));
        size_t n = p.ticks.size();
        QTest::qWait(80);
        EXPECT_EQ(p.ticks.size(), n);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.ticks, std::vector<UINT>(dlg.ticks.size(), 101u));
    EXPECT_EQ(dlg.SetTimer(101, 20), 0u);  // no window, no timer

    // The cursor is hidden while the count is negative, as on the original platform.
    const std::tuple<BOOL, int, bool> steps[] = {{FALSE, -1, true}, {FALSE, -2, true}, {TRUE, -1, true},
                                                 {TRUE, 0, false},  {TRUE, 1, false},  {FALSE, 0, false}};
    for (const auto& [show, count, hidden] : steps) {
        EXPECT_EQ(ShowCursor(show), count);
        const QCursor* c = QGuiApplication::overrideCursor();
        EXPECT_EQ(c && c->shape() == Qt::BlankCursor, hidden) << count;
        EXPECT_TRUE(hidden || !c) << count;
    }
    EXPECT_TRUE(AfxHaveDisplay());
}

}  // namespace
