// Where the program meets Qt and the C library: number fields, bytes on screen
// and back, combo boxes, the dialog layout, keys, timer and cursor.
#include <QApplication>
#include <QFontMetrics>

#include <cmath>

#include "platform/qt/DialogLayout.h"
#include "platform/qt/Keys.h"
#include "platform/DialogTemplate.h"
#include "platform/Locale.h"
#include "platform/qt/QtText.h"
#include "res/resource.h"
#include "support/Ui.h"

using namespace qvtest;

TEST(Platform, NumberFieldsTakeCNumbersOnly)
{
    const std::pair<std::string, double> rows[] = {  // NAN: refused, the value untouched
        {"0", 0},     {"  12 ", 12},     {"\t-3.25\t", -3.25}, {"+.5", 0.5},    {"5.", 5},    {"1e3", 1000},
        {"2.5E-2", 0.025}, {"1e-400", 0}, {"", NAN},           {"   ", NAN},    {"1,5", NAN}, {"abc", NAN},
        {"1e", NAN},  {".", NAN},        {"-", NAN},           {"12abc", NAN},  {"0x10", NAN}, {"inf", NAN},
        {"nan", NAN}, {"1e999", NAN},    {"1 2", NAN},         {"\xd9\xa3", NAN}, {std::string("1\0" "2", 3), NAN}};
    for (const auto& [text, value] : rows) {
        double v = -77;
        EXPECT_EQ(QvParseFieldNumber(text, v), !std::isnan(value)) << text;
        EXPECT_EQ(v, std::isnan(value) ? -77.0 : value) << text;
    }
}

TEST(Platform, TextIsShownAsUtf8WhenValidElseAsWindows1252AndStoredTheSameWay)
{
    const std::pair<const char*, const char*> shown[] = {  // bytes, text shown (in UTF-8)
        {"caf\xc3\xa8", "caf\u00e8"}, {"caf\xe8", "caf\u00e8"}, {"\x80 \x9c \x81", "\u20ac \u0153 \ufffd"},
        {"\xc3", "\u00c3"}, {"\xe2\x82", "\u00e2\u201a"}, {"\xc2\xa0\xdf\xbf", "\u00a0\u07ff"}, {"\xc1\xa0", "\u00c1\u00a0"},
        {"\xe0\x9f\xbf", "\u00e0\u0178\u00bf"}, {"\xed\xa0\x80", "\u00ed\u00a0\u20ac"}, {"\xef\xbf\xbf", "\uffff"},
        {"\xf0\x90\x80\x80", "\U00010000"}, {"\xf4\x90\x80\x80", "\u00f4\ufffd\u20ac\u20ac"}, {"\xf5\x80", "\u00f5\u20ac"}};
    for (const auto& [bytes, text] : shown) EXPECT_EQ(QvDisplayText(bytes), QString::fromUtf8(text)) << bytes;
    // Typed text: Windows-1252 when every character fits and the bytes do not read as other UTF-8 text.
    const std::pair<const char*, const char*> stored[] = {{"\u00a0\u20ac\u00ff\u0178", "\xa0\x80\xff\x9f"},
        {"\u03b1", "\xce\xb1"}, {"\u00c3\u00a9", "\xc3\x83\xc2\xa9"}, {"\u0081", "\xc2\x81"}};
    for (const auto& [text, bytes] : stored) EXPECT_EQ(QvStoredText(QString::fromUtf8(text)), bytes) << bytes;
    const CString untouched = "x\x81y";
    EXPECT_EQ(QvStoredText(QvDisplayText(untouched), &untouched), untouched);
}

TEST(Platform, ComboBoxEditsAreUnsortedAndTheSelectionFollowsItsLine)
{
    CComboBox cb;
    EXPECT_EQ(cb.AddString("x") + cb.GetCount() + cb.GetCurSel() + cb.SetCurSel(0), 3 * CB_ERR);  // no control
    QComboBox box;
    cb.Attach(QvHandle(&box));
    // {operation, index, text, result, selection after}: deleting the selected line or a bad index clears it.
    const struct { char op; int index; const char* text; int result, selected; } steps[] = {
        {'a', 0, "Zeta", 0, -1}, {'a', 0, "Alfa", 1, -1}, {'a', 0, "Alfa", 2, -1}, {'i', 1, "Mezzo \xe8", 1, -1},
        {'i', -1, "Fine", 4, -1}, {'i', 9, "Oltre", CB_ERR, -1}, {'s', 2, "", 2, 2}, {'i', 0, "Primo", 0, 3},
        {'d', 0, "", 5, 2}, {'d', 2, "", 4, -1}, {'d', 4, "", CB_ERR, -1}, {'s', 1, "", 1, 1}, {'s', 4, "", CB_ERR, -1},
        {'s', 0, "", 0, 0}, {'s', -1, "", CB_ERR, -1}};
    for (const auto& s : steps) {
        int r = s.op == 'a' ? cb.AddString(s.text) : s.op == 'i' ? cb.InsertString(s.index, s.text)
                : s.op == 'd' ? cb.DeleteString(static_cast<UINT>(s.index)) : cb.SetCurSel(s.index);
        EXPECT_EQ(r * 100 + cb.GetCurSel(), s.result * 100 + s.selected) << s.op << s.index;
    }
    EXPECT_EQ(box.itemText(1).toStdString(), "Mezzo \u00e8");  // on screen as Windows-1252
}

TEST(Platform, DialogControlsFollowTheTemplateInDialogUnits)
{
    const DlgTemplate* t = QvFindDialogTemplate(IDD_SYSTEM);
    DialogScript script;
    script.steps.emplace_back(IDD_SYSTEM, [t](CDialog& d) {
        QWidget* w = QvWidget(d.GetSafeHwnd());
        QFontMetrics fm(w->font());  // base units computed apart from the program
        const int ux = (fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2;
        auto px = [ux, uy = fm.height()](int x, int y, int cx, int cy) {
            return QRect((x * ux + 2) / 4, (y * uy + 4) / 8, (cx * ux + 2) / 4, (cy * uy + 4) / 8);
        };
        EXPECT_EQ(w->size(), px(0, 0, t->cx, t->cy).size());
        EXPECT_EQ(w->font().pointSize() * 10 + !(w->windowFlags() & Qt::FramelessWindowHint), 81);
        for (const DlgItemTemplate& it : std::vector<DlgItemTemplate>(t->items, t->items + t->itemCount)) {
            if (it.id == -1) continue;
            QRect r = QvWidget(d.GetDlgItem(it.id))->geometry(), expected = px(it.x, it.y, it.cx, it.cy);
            if (it.kind == DlgItemKind::ComboBox) r.setHeight(expected.height());  // the template's includes the list
            EXPECT_EQ(r, expected) << it.id;
        }
        EXPECT_EQ(Chooser(d, IDC_FORCETYPE).section(',', 0, 0) + Chooser(d, IDC_FORCETYPE).section(' ', -1), "Quadratica (1/r^2#-1");
        w->close();
    });
    EXPECT_EQ(CDialog(IDD_SYSTEM).DoModal(), IDCANCEL);
}

struct Probe : CDialog {
    Probe() : CDialog(IDD_SIMULATION) {}
    std::vector<UINT> keys, ticks;
    void OnKeyDown(UINT vk, UINT, UINT) override { keys.push_back(vk); }
    void OnTimer(UINT id) override { ticks.push_back(id); }
};

TEST(Platform, AWindowWithoutControlsGetsVirtualKeysAndTimerTicks)
{
    DialogScript script;
    Probe p;
    script.steps.emplace_back(IDD_SIMULATION, [&p](CDialog& d) {
        EXPECT_TRUE(QvWidget(d.GetSafeHwnd())->windowFlags() & Qt::FramelessWindowHint);
        // Shift is a key of its own; Alt makes a system key and Tab belongs to the dialog: not key-downs.
        for (auto [key, mods] : std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>{{Qt::Key_T, {}},
                 {Qt::Key_P, Qt::ShiftModifier}, {Qt::Key_9, {}}, {Qt::Key_5, Qt::KeypadModifier}, {Qt::Key_E, Qt::AltModifier}, {Qt::Key_Tab, {}}})
            QTest::keyClick(QvWidget(d.GetSafeHwnd()), key, mods);
        EXPECT_EQ(p.SetTimer(101, 20), 101u);
        for (int i = 0; i < 500 && p.ticks.size() < 3; ++i) QTest::qWait(10);
        EXPECT_TRUE(p.KillTimer(101) && !p.KillTimer(101));
        const size_t n = p.ticks.size();
        QTest::qWait(60);
        EXPECT_EQ(p.ticks, std::vector<UINT>(std::max<size_t>(n, 3), 101u));
        QTest::keyClick(QvWidget(d.GetSafeHwnd()), Qt::Key_Return);
    });
    EXPECT_EQ(p.DoModal(), IDOK);
    EXPECT_EQ(p.keys, (std::vector<UINT>{'T', 0x10, 'P', '9', 0x65}));
    // Top-row X11 key codes give the digit whatever the shift state makes of it.
    EXPECT_EQ(QvVirtualKeyFromQt(Qt::Key_Exclam, Qt::ShiftModifier, 10) * 256 + QvVirtualKeyFromQt(Qt::Key_Equal, {}, 19), 0x3130u);
    // The cursor is hidden while its count is negative.
    for (auto [show, count] : std::vector<std::pair<BOOL, int>>{{FALSE, -1}, {FALSE, -2}, {TRUE, -1}, {TRUE, 0}, {TRUE, 1}, {FALSE, 0}})
        EXPECT_EQ(ShowCursor(show) * 10 + (QGuiApplication::overrideCursor() != nullptr), count * 10 + (count < 0));
}

struct EnterProbe : CDialog {
    EnterProbe() : CDialog(IDD_QUORVANE_DIALOG) {}
    std::string commands;
    void OnOK() override { commands += 'O'; }
    void OnCancel() override { commands += 'C'; }
};

TEST(Platform, EnterRunsTheFocusedButtonElseTheEnabledDefaultAndNothingInTheEditThatKeepsIt)
{
    DialogScript script;
    EnterProbe p;
    script.steps.emplace_back(IDD_QUORVANE_DIALOG, [&p](CDialog& d) {
        const auto enterOn = [&p, &d](int id) {
            QvWidget(d.GetDlgItem(id))->setFocus();
            QTest::keyClick(QvWidget(d.GetSafeHwnd()), Qt::Key_Return);
            p.commands += '.';
        };
        enterOn(IDC_SYSTEMS);   // the default button's
        enterOn(IDCANCEL);      // the focused button's own
        enterOn(IDC_HELPTEXT);  // the help text keeps Enter
        QvWidget(d.GetDlgItem(IDOK))->setEnabled(false);
        enterOn(IDC_SYSTEMS);   // the default button disabled
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(p.DoModal(), IDCANCEL);
    EXPECT_EQ(p.commands, "O.C...");
}
