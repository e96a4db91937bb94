// Combo boxes, data exchange and message boxes.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

#include <limits>

#include "../editor/DialogDriver.h"
#include "DialogProbe.h"
#include "platform/DialogLayout.h"
#include "res/resource.h"

namespace {

std::vector<std::string> Lines(const CComboBox& cb)
{
    std::vector<std::string> out;
    for (int i = 0; i < cb.GetCount(); ++i) {
        CString s;
        cb.GetLBText(i, s);
        out.push_back(s.str());
    }
    return out;
}

TEST(ComboBox, UnsortedEditsAndSelectionWithoutNotification)
{
    CComboBox detached;
    EXPECT_EQ(detached.AddString("x"), CB_ERR);
    EXPECT_EQ(detached.GetCount(), 0);
    EXPECT_EQ(detached.GetCurSel(), CB_ERR);
    EXPECT_EQ(detached.SetCurSel(0), CB_ERR);

    CProbeDlg dlg(IDD_QUORVANE_DIALOG);
    CComboBox cb;
    dlg.ddx = [&cb](CDataExchange* pDX) { DDX_Control(pDX, IDC_SYSTEMS, cb); };
    RunDialog(dlg, [&](CDialog& d) {
        auto& p = static_cast<CProbeDlg&>(d);
        ASSERT_EQ(cb.GetControl(), d.GetDlgItem(IDC_SYSTEMS));
        // {operation, index, text, result, selection after}: the selection follows its line,
        // deleting the selected line or a bad index clears it; adding to an empty list selects nothing.
        const struct { char op; int index; const char* text; int result, selected; } steps[] = {
            {'a', 0, "Zeta", 0, -1},     {'a', 0, "Alfa", 1, -1},           {'a', 0, "Alfa", 2, -1},
            {'i', 1, "Mezzo \xe8", 1, -1}, {'i', -1, "Fine", 4, -1},          {'i', 9, "Oltre", CB_ERR, -1},
            {'s', 2, "", 2, 2},          {'i', 0, "Primo", 0, 3},           {'d', 0, "", 5, 2},
            {'d', 2, "", 4, -1},         {'d', 4, "", CB_ERR, -1},          {'s', 1, "", 1, 1},
            {'s', 4, "", CB_ERR, -1},    {'s', 0, "", 0, 0},                {'s', -1, "", CB_ERR, -1},
            {'s', 0, "", 0, 0},
        };
        for (const auto& s : steps) {
            int r = s.op == 'a' ? cb.AddString(s.text)
                    : s.op == 'i' ? cb.InsertString(s.index, s.text)
                    : s.op == 'd' ? cb.DeleteString(static_cast<UINT>(s.index))
                                  : cb.SetCurSel(s.index);
            EXPECT_EQ(r, s.result) << s.op << s.index;
            EXPECT_EQ(cb.GetCurSel(), s.selected) << s.op << s.index;
        }
        EXPECT_EQ(Lines(cb), (std::vector<std::string>{"Zeta", "Mezzo \xe8", "Alfa", "Fine"}));
        EXPECT_EQ(cb.GetControl()->itemText(1), QStringLiteral("Mezzo \u00e8"));  // Windows-1252 bytes
        // None of the program's changes reached the message map; the user's choice
        // (keyboard on the closed list) does.
        EXPECT_EQ(p.log, (std::vector<std::string>{"init"}));
        cb.GetControl()->setFocus();
        QTest::keyClick(cb.GetControl(), Qt::Key_Down);
        EXPECT_EQ(cb.GetCurSel(), 1);
        EXPECT_EQ(p.log, (std::vector<std::string>{"init", "selchange"}));

        cb.ResetContent();
        EXPECT_EQ(cb.GetCount(), 0);
        EXPECT_EQ(cb.GetCurSel(), -1);
        CString s = "untouched";
        cb.GetLBText(0, s);
        EXPECT_TRUE(s.IsEmpty());
        d.EndDialog(IDOK);
    });
    // Detached with the window.
    EXPECT_EQ(cb.GetControl(), nullptr);
    EXPECT_EQ(cb.AddString("x"), CB_ERR);
}

struct EditorFields {
    double x = 400, y = 0.1, vx = 8.5, vy = 1e-5;
    int fixed = 1, law = 2;
    CString name = "Terra \xe8";  // Windows-1252
    CString param = "caf\xc3\xa8";  // UTF-8

    void Exchange(CDataExchange* pDX)
    {
        DDX_Text(pDX, IDC_SYSTEMNAME, name);
        DDX_Text(pDX, IDC_FORCEPARAMS, param);
        DDX_CBIndex(pDX, IDC_FORCETYPE, law);
        DDX_Check(pDX, IDC_FIXED, fixed);
        DDX_Text(pDX, IDC_PLANETX, x);
        DDX_Text(pDX, IDC_PLANETY, y);
        DDX_Text(pDX, IDC_PLANETVX, vx);
        DDX_Text(pDX, IDC_PLANETVY, vy);
    }
};

QLineEdit* Edit(CDialog& d, int id) { return qobject_cast<QLineEdit*>(d.GetDlgItem(id)); }

TEST(DataExchange, ShowsMembersWithoutRunningHandlersAndARefusedNumberStopsTheExchangeThere)
{
    qvtest::MessageBoxes messages;
    EditorFields f;
    CProbeDlg dlg(IDD_SYSTEM);
    dlg.ddx = [&f](CDataExchange* pDX) { f.Exchange(pDX); };
    INT_PTR r = RunDialog(dlg, [&](CDialog& d) {
        auto& p = static_cast<CProbeDlg&>(d);
        const std::pair<int, QString> shown[] = {
            {IDC_PLANETX, "400"}, {IDC_PLANETY, "0.1"}, {IDC_PLANETVX, "8.5"}, {IDC_PLANETVY, "1e-05"},
            {IDC_SYSTEMNAME, QStringLiteral("Terra \u00e8")}, {IDC_FORCEPARAMS, QStringLiteral("caf\u00e8")}};
        for (const auto& [id, text] : shown) EXPECT_EQ(Edit(d, id)->text(), text) << id;
        EXPECT_TRUE(qobject_cast<QCheckBox*>(d.GetDlgItem(IDC_FIXED))->isChecked());
        EXPECT_EQ(qobject_cast<QComboBox*>(d.GetDlgItem(IDC_FORCETYPE))->currentIndex(), 2);

        // Untouched texts keep their bytes; typed ones are stored as the rules say.
        ASSERT_TRUE(d.UpdateData(TRUE));
        EXPECT_EQ(f.name, "Terra \xe8");
        EXPECT_EQ(f.param, "caf\xc3\xa8");
        Edit(d, IDC_FORCEPARAMS)->setText(QStringLiteral("\u0101"));
        ASSERT_TRUE(d.UpdateData(TRUE));
        EXPECT_EQ(f.param, "\xc4\x81");

        // Untouched numbers keep every digit; a retyped one is read as typed.
        f.x = 0.1 + 0.2;
        f.y = std::numeric_limits<double>::infinity();  // as a file may give it
        ASSERT_TRUE(d.UpdateData(FALSE));
        EXPECT_EQ(Edit(d, IDC_PLANETX)->text(), QStringLiteral("0.3"));
        EXPECT_EQ(Edit(d, IDC_PLANETY)->text(), QStringLiteral("inf"));
        ASSERT_TRUE(d.UpdateData(TRUE));
        EXPECT_EQ(f.x, 0.1 + 0.2);
        EXPECT_EQ(f.y, std::numeric_limits<double>::infinity());
        Edit(d, IDC_PLANETX)->setText(QStringLiteral("0.30"));
        Edit(d, IDC_PLANETY)->setText(QStringLiteral("5"));
        ASSERT_TRUE(d.UpdateData(TRUE));
        EXPECT_EQ(f.x, 0.3);
        EXPECT_EQ(f.y, 5.0);

        // Out-of-range index clears the selection; check box round trip.
        f.law = 7;
        f.fixed = 0;
        ASSERT_TRUE(d.UpdateData(FALSE));
        EXPECT_EQ(qobject_cast<QComboBox*>(d.GetDlgItem(IDC_FORCETYPE))->currentIndex(), -1);
        EXPECT_FALSE(qobject_cast<QCheckBox*>(d.GetDlgItem(IDC_FIXED))->isChecked());
        f.law = 3;
        ASSERT_TRUE(d.UpdateData(TRUE));
        EXPECT_EQ(f.law, -1);
        EXPECT_EQ(f.fixed, 0);
        QTest::mouseClick(d.GetDlgItem(IDC_FIXED), Qt::LeftButton);
        ASSERT_TRUE(d.UpdateData(TRUE));
        EXPECT_EQ(f.fixed, 1);
        EXPECT_EQ(p.log, (std::vector<std::string>{"init", "check"}));
        EXPECT_TRUE(messages.Shown().empty());

        Edit(d, IDC_PLANETX)->setText(QStringLiteral(" -1.5e3 "));
        Edit(d, IDC_PLANETY)->setText(QStringLiteral("1,5"));
        Edit(d, IDC_PLANETVX)->setText(QStringLiteral("7"));
        Edit(d, IDC_SYSTEMNAME)->setText(QStringLiteral("Nuovo"));
        // OK refuses: the dialog stays open.
        QTest::mouseClick(d.GetDlgItem(IDOK), Qt::LeftButton);
        EXPECT_EQ(messages.Shown(), (std::vector<std::pair<std::string, UINT>>{{"Immettere un numero.", MB_OK}}));
        EXPECT_EQ(d.GetSafeHwnd()->focusWidget(), d.GetDlgItem(IDC_PLANETY));
        EXPECT_EQ(Edit(d, IDC_PLANETY)->selectedText(), QStringLiteral("1,5"));
        // Fields before the refused one were read, those after it were not.
        EXPECT_EQ(f.name, "Nuovo");
        EXPECT_EQ(f.x, -1500.0);
        EXPECT_EQ(f.y, 5.0);
        EXPECT_EQ(f.vx, 8.5);
        Edit(d, IDC_PLANETY)->setText(QStringLiteral("2"));
        QTest::mouseClick(d.GetDlgItem(IDOK), Qt::LeftButton);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_EQ(f.y, 2.0);
    EXPECT_EQ(f.vx, 7.0);
    EXPECT_EQ(messages.Shown().size(), 1u);
}

TEST(DataExchange, NumberSyntax)
{
    const struct { const char* text; bool ok; double value; } cases[] = {
        {"0", true, 0},        {"  12 ", true, 12},     {"\t-3.25\t", true, -3.25}, {"+.5", true, 0.5},
        {"5.", true, 5},       {"1e3", true, 1000},     {"2.5E-2", true, 0.025},   {"1e-400", true, 0},
        {"", false, 0},        {"   ", false, 0},      {"1,5", false, 0},          {"abc", false, 0},
        {"1e", false, 0},      {".", false, 0},        {"-", false, 0},            {"12abc", false, 0},
        {"0x10", false, 0},    {"inf", false, 0},      {"nan", false, 0},          {"1e999", false, 0},
        {"1 2", false, 0},     {"\xd9\xa3", false, 0},
    };
    for (const auto& c : cases) {
        double v = -77;
        bool ok = QvParseFieldNumber(QString::fromUtf8(c.text), v);
        EXPECT_EQ(ok, c.ok) << '"' << c.text << '"';
        EXPECT_EQ(v, c.ok ? c.value : -77.0) << '"' << c.text << '"';
    }
    double v = 0;
    EXPECT_FALSE(QvParseFieldNumber(QString::fromUtf8("1\0" "2", 3), v));
}

TEST(MessageBox, RealBoxesAnswerAsTheUserChose)
{
    // Without the test hook a real box opens; Escape on a question is "No".
    const auto yes = [](QMessageBox* b) { QTest::mouseClick(b->button(QMessageBox::Yes), Qt::LeftButton); };
    const auto no = [](QMessageBox* b) { QTest::mouseClick(b->button(QMessageBox::No), Qt::LeftButton); };
    const auto escape = [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); };
    const auto enter = [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); };
    const UINT ask = MB_YESNO | MB_ICONQUESTION;
    const struct { const char* text; UINT type; std::function<void(QMessageBox*)> answer; int result; } cases[] = {
        {"Eliminare il sistema \"Sole \xe8\"?", ask, no, IDNO}, {"Si?", ask, yes, IDYES}, {"Esc?", ask, escape, IDNO},
        {"File mancante", MB_OK, enter, IDOK}};
    for (const auto& c : cases) {
        QString text, title;
        QMessageBox::Icon icon = QMessageBox::Warning;
        QTimer poll;  // answers the box once it is on screen
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            poll.stop();
            text = box->text();
            icon = box->icon();
            title = box->windowTitle();
            c.answer(box);
        });
        poll.start(10);
        EXPECT_EQ(AfxMessageBox(c.text, c.type), c.result) << c.text;
        EXPECT_EQ(text, QString::fromLatin1(c.text));  // Windows-1252 bytes shown as such
        EXPECT_EQ(icon, c.type == ask ? QMessageBox::Question : QMessageBox::NoIcon) << c.text;
        EXPECT_EQ(title, QStringLiteral("Quorvane"));
    }
}

}  // namespace
