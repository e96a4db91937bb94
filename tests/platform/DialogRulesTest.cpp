// The dialog rules both back-ends share (platform/Dialog*.h, Timer.h,
// MessageBox.h, WinApp.h), without a window: what they decide alone.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/DialogItems.h"
#include "platform/DialogKeys.h"
#include "platform/DialogUnits.h"
#include "platform/MessageBox.h"
#include "platform/Timer.h"
#include "platform/WinApp.h"

TEST(DialogRules, DialogUnitsRoundHalfAwayFromZeroWithTheFontsBaseUnits)
{
    // a * b / c: halves go away from zero on both sides, the product does not overflow an int.
    const int rows[][4] = {{6, 1, 4, 2}, {-6, 1, 4, -2}, {5, 1, 4, 1}, {-5, 1, 4, -1}, {7, 1, 4, 2}, {2, 1, 4, 1},
                           {1, 1, 4, 0}, {-1, 1, 4, 0},  {3, 5, 8, 2}, {0, 9, 4, 0},   {4, 3, 8, 2}, {-4, 3, 8, -2}};
    for (const auto& r : rows) EXPECT_EQ(QvMulDiv(r[0], r[1], r[2]), r[3]) << r[0] << '*' << r[1] << '/' << r[2];
    EXPECT_EQ(QvMulDiv(100000, 300000, 4000), 7500000);
    EXPECT_EQ(QvMulDiv(-100000, 300000, 8000), -3750000);
    // (52 letters / 26 + 1) / 2 wide, the height as it is; never below 1.
    const QvDialogBaseUnits u = QvBaseUnitsOf(337, 13);
    EXPECT_EQ(u.cx * 100 + u.cy, 613);
    EXPECT_EQ(QvBaseUnitsOf(363, 14).cx, 7);
    EXPECT_EQ(QvBaseUnitsOf(0, 0).cx * 10 + QvBaseUnitsOf(0, 0).cy, 11);
    // x by cx / 4, y by cy / 8: a 50×14 button at (7, 250).
    const QvPixelRect p = QvMapDialogRect(7, 250, 50, 14, u);
    EXPECT_EQ(std::vector<int>({p.x, p.y, p.cx, p.cy}), std::vector<int>({11, 406, 75, 23}));
}

TEST(DialogRules, TemplateItemsBecomeTheirKindsAndTheFirstDefaultButtonIsTheDefault)
{
    const DlgItemTemplate items[] = {
        {10, DlgItemKind::Button, "", BS_AUTOCHECKBOX, 0, 0, 1, 1, nullptr},    // low bit set, but a check box
        {11, DlgItemKind::Edit, "", 0x1u, 0, 0, 1, 1, nullptr},                 // low bit set, but an edit
        {-1, DlgItemKind::Button, "", BS_GROUPBOX, 0, 0, 1, 1, nullptr},
        {12, DlgItemKind::Button, "", BS_PUSHBUTTON, 0, 0, 1, 1, nullptr},
        {13, DlgItemKind::Button, "", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0, 1, 1, nullptr},
        {14, DlgItemKind::Button, "", BS_DEFPUSHBUTTON, 0, 0, 1, 1, nullptr},  // a second: an ordinary button
        {15, DlgItemKind::Edit, "", ES_MULTILINE | ES_WANTRETURN, 0, 0, 1, 1, nullptr},
        {16, DlgItemKind::Edit, "", ES_WANTRETURN, 0, 0, 1, 1, nullptr},
        {17, DlgItemKind::Edit, "", ES_MULTILINE, 0, 0, 1, 1, nullptr},
        {-1, DlgItemKind::Static, "", SS_LEFT, 0, 0, 1, 1, nullptr},
        {18, DlgItemKind::ComboBox, "", CBS_DROPDOWNLIST, 0, 0, 1, 1, nullptr}};
    using K = QvControlKind;
    const K kinds[] = {K::CheckBox,   K::Edit,          K::GroupBox, K::PushButton, K::PushButton, K::PushButton,
                       K::MultiLineEdit, K::Edit,       K::MultiLineEdit, K::Static, K::ComboBox};
    std::string keeps;
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(QvControlKindOf(items[i]), kinds[i]) << i;
        keeps += QvKeepsEnter(items[i]) ? '1' : '0';
    }
    EXPECT_EQ(keeps, "00000010000");  // a multi-line edit with ES_WANTRETURN alone
    const DlgTemplate t{1, "", 0, 0, 100, 100, nullptr, 0, items, 11};
    EXPECT_EQ(QvDefaultButtonIndex(t), 4);
    EXPECT_EQ(QvDefaultCommand(t), 13);
    const DlgTemplate none{1, "", 0, 0, 100, 100, nullptr, 0, items, 4};  // no default button: IDOK
    EXPECT_EQ(QvDefaultButtonIndex(none) * 10 + QvDefaultCommand(none), -10 + IDOK);
}

TEST(DialogRules, EnterGivesTheFocusedButtonsCommandElseTheDefaultUnlessItIsDisabled)
{
    using K = QvControlKind;
    struct Row {
        QvEnterFocus focus;
        int defaultId;
        bool defaultEnabled;
        int command;
    } rows[] = {
        {{}, 13, true, 13},                                     // no focus: the default button
        {{}, 13, false, -1},                                    // ... unless disabled
        {{}, IDOK, true, IDOK},                                 // a dialog without default button
        {{K::PushButton, 12, true, false}, 13, false, 12},      // the focused button, the default disabled or not
        {{K::PushButton, 12, false, false}, 13, true, 13},      // a disabled (or hidden) button: the default
        {{K::PushButton, -1, true, false}, 13, true, -1},       // a button without command
        {{K::CheckBox, 10, true, false}, 13, true, 13},
        {{K::Edit, 11, true, false}, IDOK, true, IDOK},
        {{K::MultiLineEdit, 15, true, true}, 13, true, -1},     // the edit makes a new line
        {{K::MultiLineEdit, 17, true, false}, 13, true, 13},
    };
    for (const Row& r : rows)
        EXPECT_EQ(QvEnterCommand(r.focus, r.defaultId, r.defaultEnabled), r.command)
            << static_cast<int>(r.focus.kind) << ' ' << r.focus.id << ' ' << r.defaultEnabled;
}

namespace {
struct Window : CWnd {
    explicit Window(HWND h) { m_hWnd = h; }
};
}  // namespace

TEST(DialogRules, TimersMessageBoxesAndTheOwnerOfADialog)
{
    // Never faster than 10 ms, never beyond an int.
    for (auto [ms, period] : std::vector<std::pair<UINT, UINT>>{
             {0, 10}, {9, 10}, {10, 10}, {11, 11}, {20, 20}, {0x7FFFFFFFu, 0x7FFFFFFFu}, {0xFFFFFFFFu, 0x7FFFFFFFu}})
        EXPECT_EQ(QvTimerPeriod(ms), period) << ms;
    // Yes/No answers Yes or No, anything else (escaped, closed, no display: 0) No; OK alone answers OK.
    EXPECT_TRUE(QvIsYesNo(MB_YESNO | MB_ICONQUESTION));
    EXPECT_FALSE(QvIsYesNo(MB_OK | MB_ICONQUESTION));
    const UINT yesNo = MB_YESNO | MB_ICONQUESTION;
    EXPECT_EQ(std::vector<int>({QvMessageBoxAnswer(yesNo, IDYES), QvMessageBoxAnswer(yesNo, IDNO),
                                QvMessageBoxAnswer(yesNo, 0), QvMessageBoxAnswer(yesNo, IDOK),
                                QvMessageBoxAnswer(MB_OK, 0), QvMessageBoxAnswer(MB_OK, IDYES)}),
              std::vector<int>({IDYES, IDNO, IDNO, IDNO, IDOK, IDOK}));
    // A dialog without parent falls back on the main window, never on itself.
    Window dialog(reinterpret_cast<HWND>(0x20)), main(reinterpret_cast<HWND>(0x10));
    EXPECT_EQ(QvMainWindowAsOwner(dialog), nullptr);  // no application
    {
        CWinApp app;
        EXPECT_EQ(QvMainWindowAsOwner(dialog), nullptr);  // no main window yet
        app.m_pMainWnd = &main;
        EXPECT_EQ(QvMainWindowAsOwner(dialog), main.GetSafeHwnd());
        EXPECT_EQ(QvMainWindowAsOwner(main), nullptr);  // the main window itself
    }
}
