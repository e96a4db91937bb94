// The main window and the system editor driven through their windows under an
// Italian locale: keys and clicks in; the chooser, the fields, the records and
// the bytes of Quorvane.ini out.
#include <clocale>
#include <cmath>
#include <optional>

#include "app/MainDlg.h"
#include "engine/SimulationDlg.h"
#include "platform/qt/QtText.h"
#include "res/resource.h"
#include "support/Ui.h"

using namespace qvtest;

namespace {

const char* const kIni = "Quorvane.ini";
// Written by hand (CR LF, short numbers); the program writes its own form back.
const std::string kFile =
    "[Due pianeti]\r\n1\r\n3\r\nSole\r\n 400 300 0 0 10 1\nTerra\n 400 150 8.5 0 1 0\nLuna\n 400 140 9.5 -0.25 0.5 0\n\n"
    "[Stabile]\n0\nA\n 10 20 0.5 0.5 1 0\nB\n 30 40 3 -1 2 0\n\n"
    "[Terra \xe8]\n2\ncaf\xc3\xa8\nN\n 0.30000000000000004 1e-5 123456789.123456789 inf nan 0\n\n"
    "[Due pianeti]\n7\n\nX\n 1 2 3 4 5 0\n\n";
const std::string kNew = "[Nuova configurazione]|0|Primo pianeta 0 0 0 0 1 0|Secondo pianeta 0 0 0 0 1 0||";

// The file's bytes, one "|" per line end, planet lines joined to their names, zeros after the point cut.
std::string File()
{
    QString s = QString::fromLatin1(ReadFile(kIni));
    s.replace(QRegularExpression("(\\.\\d*?)0+(?=[\t\n])"), "\\1").replace(QRegularExpression("\\.(?=[\t\n])"), "");
    return s.replace("\n\t", " ").replace('\t', ' ').replace('\n', '|').toLatin1().toStdString();
}

// System n of the file.
std::string Block(int n)
{
    const std::string f = "||" + File();
    size_t b = 0;
    for (int i = 0; i <= n; ++i) b = f.find("||[", b) + 2;
    return f.substr(b, f.find("||[", b) + 2 - b);  // to the end for the last one
}

// What the editor shows: "planets #selected: name x y vx vy mass fixed", then " offN" for N planet controls disabled.
QString Planet(CDialog& e)
{
    QStringList f{Chooser(e, IDC_PLANETS) + ":"};
    for (int id : {IDC_PLANETNAME, IDC_PLANETX, IDC_PLANETY, IDC_PLANETVX, IDC_PLANETVY, IDC_MASS}) f << Text(e, id);
    int off = 0;
    for (int id : {IDC_PLANETNAME, IDC_PLANETX, IDC_PLANETY, IDC_PLANETVX, IDC_PLANETVY, IDC_MASS, IDC_FIXED, IDC_STABILIZE, IDC_DELETEPLANET})
        off += !QvWidget(e.GetDlgItem(id))->isEnabled();
    return f.join(' ') + (Control<QAbstractButton>(e, IDC_FIXED)->isChecked() ? " 1" : " 0") + (off ? QString(" off%1").arg(off) : "");
}

// Rows of user actions in the editor, each with what the editor shows after them.
void Check(CDialog& e, const std::vector<std::pair<Actions, const char*>>& rows)
{
    for (const auto& [actions, shown] : rows) {
        Do(e, actions);
        EXPECT_EQ(Planet(e), QString::fromUtf8(shown));
    }
}

QString Record(const CPlanet& p)  // "name x y vx vy mass fixed sprite"
{
    return QString("%1 %2 %3 %4 %5 %6 %7 %8").arg(QvDisplayText(p.m_strName)).arg(p.m_dX).arg(p.m_dY).arg(p.m_dVx).arg(p.m_dVy).arg(p.m_dMass).arg(p.m_bFixed).arg(p.m_nSpriteX);
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir::setCurrent(dir.path());
        ASSERT_TRUE(std::setlocale(LC_ALL, "it_IT.UTF-8")) << "tools/install-deps.sh makes it";
        ASSERT_EQ(std::to_string(0.5), "0,500000");
        WriteFile(kIni, kFile);
    }
    void TearDown() override { QDir::setCurrent(QDir::tempPath()); }  // the folder goes with the test
    // The main window once, with its step and the steps of the dialogs it opens.
    void Run(Step main, std::initializer_list<std::pair<UINT, Step>> nested = {})
    {
        script.steps.emplace_back(IDD_QUORVANE_DIALOG, std::move(main));
        for (const auto& [id, step] : nested) script.steps.emplace_back(id, step);
        dlg.emplace();
        dlg->DoModal();
    }
    // "Modifica..." on chooser line nLine.
    void Edit(int nLine, Step editor)
    {
        Run(Acts({{IDC_SYSTEMS, QString::number(nLine)}, {IDC_MODIFYSYSTEM}, {kEsc}}), {{IDD_SYSTEM, std::move(editor)}});
    }
    CSystemDlg& Editor(CDialog& e) { return static_cast<CSystemDlg&>(e); }

    QTemporaryDir dir;
    DialogScript script;
    MessageBoxes boxes;
    std::optional<CMainDlg> dlg;
};

}  // namespace

TEST_F(MainWindow, ListsTheFileInOrderEscapeWritesNothingAndAMissingFileIsReported)
{
    Run([](CDialog& d) {
        EXPECT_FALSE(QvWidget(d.GetSafeHwnd())->windowIcon().isNull());
        EXPECT_EQ(Chooser(d, IDC_SYSTEMS), QString::fromUtf8("Due pianeti,Stabile,Terra è,Due pianeti #0"));
        EXPECT_EQ(Focus(d), QvWidget(d.GetDlgItem(IDOK)));
        const QStringList help = Control<QPlainTextEdit>(d, IDC_HELPTEXT)->toPlainText().split('\n');
        EXPECT_EQ(QString::number(help.size()) + help[0] + help[1] + help[4] + help[9].left(34),
                  QString::fromUtf8("19QUORVANE UNIVERSALEFUNZIONAMENTODurante la simulazione è possibile"));
        Do(d, {{kEsc}});
    });
    EXPECT_EQ(ReadFile(kIni), kFile);

    QFile::remove(kIni);
    Run([](CDialog& d) {
        EXPECT_EQ(Chooser(d, IDC_SYSTEMS), " #-1");
        Do(d, {{kEnter}, {IDC_MODIFYSYSTEM}, {IDC_DELETESYSTEM}});  // nothing selected: nothing happens
        EXPECT_FALSE(QFile::exists(kIni));
        Do(d, {{IDC_ADDSYSTEM}});
        EXPECT_EQ(Chooser(d, IDC_SYSTEMS), "Nuova configurazione #0");
        Do(d, {{kEsc}});
    }, {{IDD_SYSTEM, [](CDialog& e) { QvWidget(e.GetSafeHwnd())->close(); }}});  // the close box keeps the new system
    EXPECT_EQ(boxes.shown, (Shown{{"File di configurazione \"Quorvane.ini\" mancante", 0u}}));
    EXPECT_EQ(File(), kNew);

    WriteFile(kIni, "\n\n  \n");  // no system, no message
    Run([](CDialog& d) { EXPECT_EQ(Chooser(d, IDC_SYSTEMS), " #-1"); Do(d, {{kEsc}}); });
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(MainWindow, RunAddModifyAndDeleteKeepChooserAndFileInStep)
{
    Run([&](CDialog& d) {
        Do(d, {{IDC_SYSTEMS, "2"}, {kEnter}});  // Enter on the chooser runs the selected system
        EXPECT_EQ(Chooser(d, IDC_SYSTEMS).right(3), " #2");
        EXPECT_EQ(ReadFile(kIni), kFile);
        Do(d, {{IDC_SYSTEMS, "1"}, {IDC_ADDSYSTEM}});  // closed with Escape, added all the same
        EXPECT_EQ(Chooser(d, IDC_SYSTEMS), QString::fromUtf8("Due pianeti,Stabile,Terra è,Due pianeti,Nuova configurazione #4"));
        EXPECT_EQ(Block(0) + Block(4), "[Due pianeti]|1|3|Sole 400 300 0 0 10 1|Terra 400 150 8.5 0 1 0|"
                                       "Luna 400 140 9.5 -0.25 0.5 0||" + kNew);
        Do(d, {{IDC_SYSTEMS, "1"}, {IDC_MODIFYSYSTEM}});
        EXPECT_EQ(Chooser(d, IDC_SYSTEMS), QString::fromUtf8("Due pianeti,Mio sistema,Terra è,Due pianeti,Nuova configurazione #1"));
        EXPECT_EQ(Block(1), "[Mio sistema]|2|0.5|A 10 20 0.5 0.5 1 0|B 30 40 3 -1 2 0||");
        boxes.answers = {IDNO, IDYES, IDYES, IDYES, IDYES, IDYES};
        Do(d, {{IDC_DELETESYSTEM}});
        EXPECT_EQ(Chooser(d, IDC_SYSTEMS).right(3) + Block(1).substr(0, 13).c_str(), " #1[Mio sistema]");
        // {line, chooser after}: the next line takes the deleted one's place, else the new last one.
        const std::pair<const char*, const char*> deletions[] = {
            {"1", "Due pianeti,Terra è,Due pianeti,Nuova configurazione #1"}, {"3", "Due pianeti,Terra è,Due pianeti #2"},
            {"0", "Terra è,Due pianeti #0"}, {"1", "Terra è #0"}, {"0", " #-1"}};
        for (const auto& [line, after] : deletions) {
            Do(d, {{IDC_SYSTEMS, line}, {IDC_DELETESYSTEM}});
            EXPECT_EQ(Chooser(d, IDC_SYSTEMS), QString::fromUtf8(after));
            QStringList headers;  // the file holds the chooser's systems, in order
            for (const QString& l : QvDisplayText(ReadFile(kIni).c_str()).split('\n'))
                if (l.startsWith('[')) headers << l.mid(1, l.indexOf(']') - 1);
            EXPECT_EQ(headers.join(','), QString::fromUtf8(after).section(" #", 0, 0));
        }
        Do(d, {{IDC_DELETESYSTEM}, {kEsc}});
    }, {{IDD_SIMULATION, [](CDialog& sim) {
             EXPECT_EQ(static_cast<CSimulationDlg&>(sim).m_system.m_strName, "Terra \xe8");
             Do(sim, {{kEsc}});
         }},
        {IDD_SYSTEM, Acts({{kEsc}})},
        {IDD_SYSTEM, Acts({{IDC_SYSTEMNAME, "Mio sistema"}, {IDC_FORCETYPE, "2"}, {IDC_FORCEPARAMS, "0.5"}, {IDOK}})}});
    EXPECT_EQ(boxes.shown, Shown(6, {"Eliminare la configurazione selezionata?", 36u}));
    EXPECT_EQ(ReadFile(kIni), "");
    EXPECT_EQ(QDir::current().entryList(QDir::Files | QDir::Hidden), QStringList{kIni});  // nothing left behind
}

TEST_F(MainWindow, EditorStoresTheShownPlanetOnEnterChoiceOrAddAndDeletesAfterAYes)
{
    Edit(0, [](CDialog& e) {
        EXPECT_EQ(QvWidget(e.GetSafeHwnd())->windowTitle() + (Focus(e) == QvWidget(e.GetDlgItem(IDOK)) ? " OK" : ""), "Caratteristiche del sistema OK");
        EXPECT_EQ(Chooser(e, IDC_FORCETYPE).right(3) + Text(e, IDC_SYSTEMNAME) + Text(e, IDC_FORCEPARAMS), " #1Due pianeti3");
        Check(e, {{{}, "Sole,Terra,Luna #0: Sole 400 300 0 0 10 1"}});
        Do(e, {{IDC_MASS, "2.5"}, {kEnter}});
    });
    EXPECT_EQ(Record(dlg->m_Systems[0].m_Planets[0]), "Sole 400 300 0 0 2.5 1 40");
    Edit(0, [this](CDialog& e) {
        Check(e, {{{{IDC_PLANETNAME, "Sole nuovo"}, {IDC_PLANETX, "123.5"}, {IDC_MASS, "9.99"}, {IDC_FIXED}},
                   "Sole,Terra,Luna #0: Sole nuovo 123.5 300 0 0 9.99 0"}});  // the chooser waits for the store
        QTest::keyClick(Control(e, IDC_PLANETS), Qt::Key_Down);
        EXPECT_EQ(Record(Editor(e).m_Planets[0]), "Sole nuovo 123.5 300 0 0 9.99 0 320");
        Check(e, {{{}, "Sole nuovo,Terra,Luna #1: Terra 400 150 8.5 0 1 0"},
                  {{{IDC_PLANETS, "2"}, {IDC_PLANETVY, "-7"}, {IDC_ADDPLANET}, {IDC_MASS, "5"}},
                   "Sole nuovo,Terra,Luna,Nuovo pianeta #3: Nuovo pianeta 0 0 0 0 5 0"}});
        Do(e, {{kEsc}});
    });
    EXPECT_EQ(Block(0), "[Due pianeti]|1|3|Sole nuovo 123.5 300 0 0 9.99 0|Terra 400 150 8.5 0 1 0|"
                        "Luna 400 140 9.5 -7 0.5 0|Nuovo pianeta 0 0 0 0 1 0||");
    // Deleting asks first and shows the planet that took the deleted one's line, else the new last one.
    boxes.answers = {IDNO, IDYES, IDYES, IDYES, IDYES};
    Edit(0, [this](CDialog& e) {
        Check(e, {{{{IDC_PLANETS, "1"}, {IDC_PLANETX, "1"}, {IDC_DELETEPLANET}}, "Sole nuovo,Terra,Luna,Nuovo pianeta #1: Terra 1 150 8.5 0 1 0"},
                  {{{IDC_DELETEPLANET}}, "Sole nuovo,Luna,Nuovo pianeta #1: Luna 400 140 9.5 -7 0.5 0"},
                  {{{IDC_PLANETS, "2"}, {IDC_DELETEPLANET}}, "Sole nuovo,Luna #1: Luna 400 140 9.5 -7 0.5 0"},
                  {{{IDC_DELETEPLANET}}, "Sole nuovo #0: Sole nuovo 123.5 300 0 0 9.99 0"}, {{{IDC_DELETEPLANET}}, " #-1:       0 off9"}});
        for (auto handler : {&CSystemDlg::OnDeletePlanet, &CSystemDlg::OnStabilize, &CSystemDlg::OnFixed})
            (Editor(e).*handler)();  // nothing to act on
        Do(e, {{IDOK}});
    });
    EXPECT_EQ(Block(0), "[Due pianeti]|1|3||");
    Edit(0, [](CDialog& e) {
        Check(e, {{{}, " #-1:       0 off9"}, {{{IDC_ADDPLANET}}, "Nuovo pianeta #0: Nuovo pianeta 0 0 0 0 1 0"}});
        Do(e, {{IDC_PLANETX, "12"}, {IDOK}});
    });
    EXPECT_EQ(Block(0), "[Due pianeti]|1|3|Nuovo pianeta 12 0 0 0 1 0||");
    EXPECT_EQ(boxes.shown, Shown(5, {"Eliminare il pianeta selezionato?", 36u}));
}

TEST_F(MainWindow, EditorExchangesFieldsInOrderStabilizesFixesAndRefusesBadNumbersAndThePolynomialLaw)
{
    // Fifteen digits are shown; an untouched field keeps every digit, an untouched text its bytes.
    Edit(2, [](CDialog& e) {
        EXPECT_EQ(Planet(e), "N #0: N 0.3 1e-05 123456789.123457 inf nan 0");
        EXPECT_EQ(Text(e, IDC_SYSTEMNAME) + "|" + Text(e, IDC_FORCEPARAMS), QString::fromUtf8("Terra è|cafè"));
        Do(e, {{IDOK}});
    });
    const CPlanet& p = dlg->m_Systems[2].m_Planets[0];
    EXPECT_TRUE(p.m_dX == 0.1 + 0.2 && p.m_dY == 1e-5 && p.m_dVx == 123456789.123456789 && std::isinf(p.m_dVy) &&
                std::isnan(p.m_dMass));
    EXPECT_EQ(Block(2).substr(0, 18), "[Terra \xe8]|2|caf\xc3\xa8|");
    Edit(2, Acts({{IDC_MASS, "3"}, {IDOK}}));
    EXPECT_EQ(Record(dlg->m_Systems[2].m_Planets[0]).section(' ', 5), "3 0 80");
    Edit(1, [this](CDialog& e) {
        Check(e, {{{{IDC_MASS, "4"}, {IDC_STABILIZE}}, "A,B #0: A 10 20 -1.5 0.5 4 0"}});
        EXPECT_EQ(Editor(e).m_Planets[0].m_dVx, 0.5);  // until the next store
        Check(e, {{{{IDC_MASS, "0"}, {IDC_PLANETVX, "2"}, {IDC_STABILIZE}}, "A,B #0: A 10 20 2 0.5 0 0"},  // no mass, no balance
                  {{{IDC_FIXED}}, "A,B #0: A 10 20 0 0 0 1"}, {{{IDC_PLANETVX, "3"}, {IDC_FIXED}}, "A,B #0: A 10 20 3 0 0 0"}});
        Do(e, {{IDOK}});
    });
    EXPECT_EQ(Block(1), "[Stabile]|0|A 10 20 3 0 0 0|B 30 40 3 -1 2 0||");
    Edit(0, [](CDialog& e) {
        Do(e, {{IDC_FORCETYPE, "3"}});
        EXPECT_EQ(Chooser(e, IDC_FORCETYPE).right(3) + Text(e, IDC_FORCEPARAMS), " #03");
        // "Fisso" exchanges: what was typed before it stays after Escape, what came later does not.
        Do(e, {{IDC_FORCETYPE, "2"}, {IDC_SYSTEMNAME, "Altro nome"}, {IDC_FORCEPARAMS, "2.5"}, {IDC_FIXED},
               {IDC_FORCEPARAMS, "9"}, {kEsc}});
    });
    EXPECT_EQ(boxes.shown, (Shown{{"Funzione non ancora realizzata", 0u}}));
    EXPECT_EQ(Block(0).substr(0, 20), "[Altro nome]|2|2.5|S");
    // A law the list does not have selects nothing and reads back as -1; typing alone keeps nothing.
    Edit(3, [](CDialog& e) {
        EXPECT_EQ(Chooser(e, IDC_FORCETYPE).right(4), " #-1");
        Do(e, {{IDC_SYSTEMNAME, "Niente"}, {kEsc}});
    });
    EXPECT_EQ(Block(3), "[Due pianeti]|-1|X 1 2 3 4 5 0||");

    bool bStillOpen = false;
    Edit(0, [this, &bStillOpen](CDialog& e) {
        // In exchange order: fixed, mass, name, parameters, vx, vy, x (refused: a comma), y, system name.
        Do(e, {{IDC_FORCETYPE, "2"}, {IDC_FIXED}, {IDC_MASS, "6"}, {IDC_PLANETNAME, "Astro"}, {IDC_FORCEPARAMS, "4"},
               {IDC_PLANETVX, "1.25"}, {IDC_PLANETVY, "-1"}, {IDC_PLANETX, "1,5"}, {IDC_PLANETY, "5"},
               {IDC_SYSTEMNAME, "Nuovo"}, {IDOK}});
        EXPECT_TRUE(QvWidget(e.GetSafeHwnd())->isVisible() && Focus(e) == QvWidget(e.GetDlgItem(IDC_PLANETX)));
        EXPECT_EQ(Control<QLineEdit>(e, IDC_PLANETX)->selectedText(), "1,5");
        EXPECT_EQ(Record(Editor(e).m_Planets[0]) + "|" + Editor(e).m_strName.c_str() + "|" + Editor(e).m_strForceParams.c_str(),
                  "Astro 400 300 1.25 -1 6 0 200|Altro nome|4");
        // Back in the dialog's own loop (a timer, which the loop takes only after it has seen any end): a dialog
        // that ended after the box is gone by then, and this call with its window.
        QTimer::singleShot(10, QvWidget(e.GetSafeHwnd()), [&e, &bStillOpen] {
            bStillOpen = e.GetSafeHwnd() != nullptr;
            EXPECT_EQ(Text(e, IDC_PLANETY) + "|" + Text(e, IDC_SYSTEMNAME), "5|Nuovo");
            Do(e, {{IDC_PLANETX, " -1.5e3 "}, {IDOK}});
        });
    });
    EXPECT_TRUE(bStillOpen) << "a refused OK closed the editor";
    EXPECT_EQ(boxes.shown, (Shown{{"Funzione non ancora realizzata", 0u}, {"Immettere un numero.", 0u}, {"Immettere un numero.", 0u}}));
    EXPECT_EQ(Block(0).substr(0, 40), "[Nuovo]|2|4|Astro -1500 5 1.25 -1 6 0|Te");
}

TEST_F(MainWindow, TypedNamesComeBackFromTheFileAsTheEditorShowedThem)
{
    QStringList shown;
    Run(Acts({{IDC_ADDSYSTEM}, {kEsc}}), {{IDD_SYSTEM, [&](CDialog& e) {
             Do(e, {{IDC_SYSTEMNAME, "Sistema [a] ]"}, {IDC_PLANETNAME, "  [Luna"}, {IDC_PLANETS, "1"}, {IDC_PLANETNAME, "   "}});
             for (const char* name : {"Citt\u00e0 \u2609", "Citt\u00e0 \u20ac", "\u00c3\u00a9", "\t\x01Lu\rna", "["})
                 Do(e, {{IDC_ADDPLANET}, {IDC_PLANETNAME, QString::fromUtf8(name)}});
             Do(e, {{IDOK}});
             shown = Chooser(e, IDC_PLANETS).section(" #", 0, 0).split(',');
         }}});
    EXPECT_EQ(shown, QString::fromUtf8("Luna,Pianeta 2,Citt\u00e0 \u2609,Citt\u00e0 \u20ac,\u00c3\u00a9,Luna,Pianeta 7").split(','));
    EXPECT_EQ(Block(4), "[Sistema [a ]|0|Luna 0 0 0 0 1 0|Pianeta 2 0 0 0 0 1 0|Citt\xc3\xa0 \xe2\x98\x89 0 0 0 0 1 0|"
                        "Citt\xe0 \x80 0 0 0 0 1 0|\xc3\x83\xc2\xa9 0 0 0 0 1 0|Luna 0 0 0 0 1 0|Pianeta 7 0 0 0 0 1 0||");
    Edit(4, [&](CDialog& e) {
        EXPECT_EQ(Chooser(e, IDC_PLANETS) + "|" + Text(e, IDC_SYSTEMNAME), shown.join(',') + " #0|Sistema [a ");
        Do(e, {{kEsc}});
    });
    // NUL bytes go through the editor whole, as quorvane-run resave keeps them.
    const char kNul[] = "[Si\0s]\n1\n0.\0\nLu\0na\n\t1.000000\t2.000000\t0.000000\t0.000000\t1.000000\t0\n\n";
    WriteFile(kIni, std::string(kNul, sizeof kNul - 1));
    Edit(0, Acts({{IDOK}}));
    EXPECT_EQ(ReadFile(kIni), std::string(kNul, sizeof kNul - 1));
}
