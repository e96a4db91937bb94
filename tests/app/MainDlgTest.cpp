// The main window driven through its window: loading, the help text, focus,
// the list commands and what they leave in the file, and the start button.
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>

#include "../editor/DialogDriver.h"
#include "app/MainDlg.h"
#include "engine/SimulationDlg.h"
#include "res/resource.h"

using namespace qvtest;

namespace {

struct PlanetLine {
    const char* name;
    double x, y, vx, vy, mass;
    int fixed;
};

// One block exactly as the program writes it.
std::string Block(const char* name, int type, const char* params, std::initializer_list<PlanetLine> planets)
{
    CString s;
    s.Format("[%s]\n%d\n", name, type);
    std::string out = s.str();
    if (type > 0) out += std::string(params) + "\n";
    for (const PlanetLine& p : planets) {
        s.Format("%s\n\t%f\t%f\t%f\t%f\t%f\t%d\n", p.name, p.x, p.y, p.vx, p.vy, p.mass, p.fixed);
        out += s.str();
    }
    return out + "\n";
}

const std::string kSole = Block("Sole e Terra", 0, "", {{"Sole", 400, 300, 0, 0, 10, 1}, {"Terra", 400, 150, 8.5, 0, 1, 0}});
const std::string kBinaria = Block("Stella binaria", 1, "2.5", {{"A", 350, 300, 0, 5, 5, 0}, {"B", 450, 300, 0, -5, 5, 0}});
const std::string kTre = Block("Tre corpi", 2, "0.01", {{"Uno", 100, 100, 1, 0, 3, 0}});
const std::string kSoleCopia = Block("Sole e Terra", 0, "", {{"Luna", 1, 2, 3, 4, 0.5, 0}});
const std::string kNew = Block("Nuova configurazione", 0, "",
                               {{"Primo pianeta", 0, 0, 0, 0, 1, 0}, {"Secondo pianeta", 0, 0, 0, 0, 1, 0}});

// Hand-written content that a rewrite would not give back byte for byte.
const std::string kHandWritten = "; systems\n[Sole e Terra]\n0\nSole\n 400 300 0 0 10 1\nTerra\n 400 150 8.5 0 1 0\n\n" +
                                 kBinaria + kTre;

QStringList Systems(CDialog& dlg) { return Lines(dlg, IDC_SYSTEMS); }

std::vector<std::string> Names(const CSystemList& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.GetSize(); ++i) names.push_back(list[i].m_strName.str());
    return names;
}

QStringList DirEntries()
{
    return QDir::current().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

TEST(MainWindow, ListsTheFileInOrderWithFocusOnStartAndEscapeWritesNothing)
{
    TempWorkingDir dir;
    WriteFile("Quorvane.ini", kHandWritten + kSoleCopia);
    DialogScript script;
    MessageBoxes boxes;
    CMainDlg dlg;

    EXPECT_NE(dlg.m_hIcon, nullptr);
    script.On(IDD_QUORVANE_DIALOG, [&](CDialog& d) {
        EXPECT_EQ(Window(d)->windowTitle(), "Quorvane");
        EXPECT_FALSE(Window(d)->windowIcon().isNull());
        EXPECT_EQ(Systems(d), (QStringList{"Sole e Terra", "Stella binaria", "Tre corpi", "Sole e Terra"}));
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 0);
        EXPECT_EQ(Window(d)->focusWidget(), d.GetDlgItem(IDOK));
        auto* help = Control<QPlainTextEdit>(d, IDC_HELPTEXT);
        EXPECT_EQ(help->toPlainText(), QString::fromUtf8(kHelpText).replace("\r\n", "\n"));

        // The keyboard reaches "Aggiungi..." with four Tabs.
        for (int i = 0; i < 4; ++i) Press(d, Qt::Key_Tab);
        EXPECT_EQ(Window(d)->focusWidget(), d.GetDlgItem(IDC_ADDSYSTEM));
        Press(d, Qt::Key_Escape);
    });

    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(boxes.Shown().empty());
    ASSERT_EQ(dlg.m_Systems.GetSize(), 4);
    EXPECT_EQ(dlg.m_Systems[3].m_Planets[0].m_strName, "Luna");
    EXPECT_EQ(ReadFile("Quorvane.ini"), kHandWritten + kSoleCopia);
    EXPECT_EQ(DirEntries(), QStringList{"Quorvane.ini"});
}

TEST(MainWindow, HelpTextIsTheNineteenLines)
{
    CMainDlg dlg;
    const std::string help = dlg.m_strHelp.str();
    EXPECT_EQ(help, kHelpText);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t pos; (pos = help.find("\r\n", start)) != std::string::npos; start = pos + 2)
        lines.push_back(help.substr(start, pos - start));
    lines.push_back(help.substr(start));
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[0], "QUORVANE UNIVERSALE");
    for (int i : {1, 3, 5, 7, 10, 13, 15, 17}) EXPECT_EQ(lines[static_cast<size_t>(i)], "") << i;
    EXPECT_EQ(lines[6].back(), '.');
    EXPECT_NE(lines[6].find("\"Avvia la simulazione\""), std::string::npos);
    EXPECT_EQ(lines[9].substr(0, 35), "Durante la simulazione \xc3\xa8 possibile");
    EXPECT_EQ(lines[12],
              "Sar\xc3\xa0 visualizzata una finestra di configurazione che permetter\xc3\xa0 di aggiugere o togliere "
              "pianeti, e di modificare il tipo di forze che intevengono.");
    EXPECT_EQ(lines[18].substr(0, 10), "         Q");
    EXPECT_EQ(help.find('\n', help.size() - 1), std::string::npos);
}

TEST(MainWindow, MissingFileIsReportedAndAnEmptyFileIsNot)
{
    TempWorkingDir dir;
    {
        DialogScript script;
        MessageBoxes boxes;
        CMainDlg dlg;
        script.On(IDD_QUORVANE_DIALOG, [&](CDialog& d) {
            EXPECT_EQ(boxes.Shown(), (std::vector<std::pair<std::string, UINT>>{
                                         {"File di configurazione \"Quorvane.ini\" mancante", 0u}}));
            EXPECT_TRUE(Systems(d).isEmpty());
            EXPECT_EQ(Selected(d, IDC_SYSTEMS), -1);
            // Nothing selected: the three commands that need a system do nothing.
            Press(d, Qt::Key_Return);
            Click(d, IDC_MODIFYSYSTEM);
            Click(d, IDC_DELETESYSTEM);
            Click(d, IDCANCEL);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(script.OpenedCount(IDD_QUORVANE_DIALOG), 1);
        EXPECT_FALSE(FileExists("Quorvane.ini"));
    }
    {
        WriteFile("Quorvane.ini", "\n\n  \n");
        DialogScript script;
        MessageBoxes boxes;
        CMainDlg dlg;
        script.On(IDD_QUORVANE_DIALOG, [&](CDialog& d) {
            EXPECT_TRUE(Systems(d).isEmpty());
            EXPECT_EQ(Selected(d, IDC_SYSTEMS), -1);
            Press(d, Qt::Key_Escape);
        });
        dlg.DoModal();
        EXPECT_TRUE(boxes.Shown().empty());
        EXPECT_EQ(ReadFile("Quorvane.ini"), "\n\n  \n");
    }
}

TEST(MainWindow, AddAppendsTheNewSystemEvenAfterEscapeAndSavesTheList)
{
    TempWorkingDir dir;
    WriteFile("Quorvane.ini", kHandWritten);
    DialogScript script;
    MessageBoxes boxes;
    CMainDlg dlg;

    script.On(IDD_QUORVANE_DIALOG, [&](CDialog& d) {
        Pick(d, IDC_SYSTEMS, 1);
        Click(d, IDC_ADDSYSTEM);
        EXPECT_EQ(Systems(d), (QStringList{"Sole e Terra", "Stella binaria", "Tre corpi", "Nuova configurazione"}));
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 3);
        EXPECT_EQ(ReadFile("Quorvane.ini"), kSole + kBinaria + kTre + kNew);

        // Same name again, renamed in the editor and closed with OK.
        Click(d, IDC_ADDSYSTEM);
        EXPECT_EQ(Systems(d).size(), 5);
        EXPECT_EQ(Systems(d).at(4), "Mio sistema");
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 4);
        Press(d, Qt::Key_Escape);
    });
    script.On(IDD_SYSTEM, [&](CDialog& e) {
        EXPECT_EQ(FieldText(e, IDC_SYSTEMNAME), "Nuova configurazione");
        EXPECT_EQ(Lines(e, IDC_PLANETS), (QStringList{"Primo pianeta", "Secondo pianeta"}));
        EXPECT_EQ(Selected(e, IDC_FORCETYPE), 0);
        EXPECT_EQ(FieldText(e, IDC_FORCEPARAMS), "");
        EXPECT_EQ(FieldText(e, IDC_MASS), "1");
        Press(e, Qt::Key_Escape);
    });
    script.On(IDD_SYSTEM, [&](CDialog& e) {
        Type(e, IDC_SYSTEMNAME, "Mio sistema");
        Type(e, IDC_PLANETX, "10");
        Click(e, IDOK);
    });

    dlg.DoModal();
    EXPECT_TRUE(script.AllUsed());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(Names(dlg.m_Systems), (std::vector<std::string>{"Sole e Terra", "Stella binaria", "Tre corpi",
                                                               "Nuova configurazione", "Mio sistema"}));
    EXPECT_EQ(ReadFile("Quorvane.ini"),
              kSole + kBinaria + kTre + kNew +
                  Block("Mio sistema", 0, "",
                        {{"Primo pianeta", 10, 0, 0, 0, 1, 0}, {"Secondo pianeta", 0, 0, 0, 0, 1, 0}}));
}

TEST(MainWindow, AddWithoutAFileCreatesIt)
{
    TempWorkingDir dir;
    DialogScript script;
    MessageBoxes boxes;
    CMainDlg dlg;
    script.On(IDD_QUORVANE_DIALOG, [&](CDialog& d) {
        Click(d, IDC_ADDSYSTEM);
        EXPECT_EQ(Systems(d), QStringList{"Nuova configurazione"});
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 0);
        Press(d, Qt::Key_Escape);
    });
    script.On(IDD_SYSTEM, [&](CDialog& e) { Press(e, Qt::Key_Escape); });
    dlg.DoModal();
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"File di configurazione \"Quorvane.ini\" mancante"});
    EXPECT_EQ(ReadFile("Quorvane.ini"), kNew);
}

TEST(MainWindow, ModifyEditsTheStoredSystemInPlace)
{
    TempWorkingDir dir;
    WriteFile("Quorvane.ini", kHandWritten);
    DialogScript script;
    MessageBoxes boxes;
    CMainDlg dlg;

    script.On(IDD_QUORVANE_DIALOG, [&](CDialog& d) {
        Pick(d, IDC_SYSTEMS, 1);
        Click(d, IDC_MODIFYSYSTEM);
        EXPECT_EQ(Systems(d), (QStringList{"Sole e Terra", "Binaria stretta", "Tre corpi"}));
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 1);
        EXPECT_EQ(ReadFile("Quorvane.ini"),
                  kSole +
                      Block("Binaria stretta", 1, "3", {{"A", 350, 300, 0, 5, 5, 0}, {"B", 450, 300, 0, -6, 5, 0}}) +
                      kTre);

        // Escape without a change still rewrites the file, in the writer's form.
        Pick(d, IDC_SYSTEMS, 2);
        Click(d, IDC_MODIFYSYSTEM);
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 2);
        Press(d, Qt::Key_Escape);
    });
    script.On(IDD_SYSTEM, [&](CDialog& e) {
        EXPECT_EQ(FieldText(e, IDC_SYSTEMNAME), "Stella binaria");
        EXPECT_EQ(Lines(e, IDC_PLANETS), (QStringList{"A", "B"}));
        Type(e, IDC_SYSTEMNAME, "Binaria stretta");
        Type(e, IDC_FORCEPARAMS, "3");
        Pick(e, IDC_PLANETS, 1);
        Type(e, IDC_PLANETVY, "-6");
        Click(e, IDOK);
    });
    script.On(IDD_SYSTEM, [&](CDialog& e) {
        EXPECT_EQ(FieldText(e, IDC_SYSTEMNAME), "Tre corpi");
        Press(e, Qt::Key_Escape);
    });

    dlg.DoModal();
    EXPECT_TRUE(script.AllUsed());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(dlg.m_Systems[1].m_strName, "Binaria stretta");
    EXPECT_EQ(dlg.m_Systems[1].m_Planets[1].m_dVy, -6.0);
    EXPECT_EQ(ReadFile("Quorvane.ini"),
              kSole + Block("Binaria stretta", 1, "3", {{"A", 350, 300, 0, 5, 5, 0}, {"B", 450, 300, 0, -6, 5, 0}}) +
                  kTre);
}

TEST(MainWindow, DeleteAsksAndKeepsTheSelectionOnTheNextOrLastLine)
{
    TempWorkingDir dir;
    WriteFile("Quorvane.ini", kHandWritten);
    DialogScript script;
    MessageBoxes boxes;
    CMainDlg dlg;

    script.On(IDD_QUORVANE_DIALOG, [&](CDialog& d) {
        Pick(d, IDC_SYSTEMS, 1);
        boxes.Answer(IDNO);
        Click(d, IDC_DELETESYSTEM);
        EXPECT_EQ(boxes.Shown(), (std::vector<std::pair<std::string, UINT>>{
                                     {"Eliminare la configurazione selezionata?", 36u}}));
        EXPECT_EQ(Systems(d).size(), 3);
        EXPECT_EQ(dlg.m_Systems.GetSize(), 3);
        EXPECT_EQ(ReadFile("Quorvane.ini"), kHandWritten);

        boxes.Answer(IDYES);
        Click(d, IDC_DELETESYSTEM);
        EXPECT_EQ(Systems(d), (QStringList{"Sole e Terra", "Tre corpi"}));
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 1);
        EXPECT_EQ(Names(dlg.m_Systems), (std::vector<std::string>{"Sole e Terra", "Tre corpi"}));
        EXPECT_EQ(ReadFile("Quorvane.ini"), kSole + kTre);

        boxes.Answer(IDYES);
        Click(d, IDC_DELETESYSTEM);  // the last line: the new last one is selected
        EXPECT_EQ(Systems(d), QStringList{"Sole e Terra"});
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 0);
        EXPECT_EQ(ReadFile("Quorvane.ini"), kSole);

        boxes.Answer(IDYES);
        Click(d, IDC_DELETESYSTEM);
        EXPECT_TRUE(Systems(d).isEmpty());
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), -1);
        EXPECT_EQ(dlg.m_Systems.GetSize(), 0);
        EXPECT_TRUE(FileExists("Quorvane.ini"));
        EXPECT_EQ(ReadFile("Quorvane.ini"), "");

        // Nothing left to delete: no question, no write.
        boxes.Clear();
        Click(d, IDC_DELETESYSTEM);
        Click(d, IDC_MODIFYSYSTEM);
        EXPECT_TRUE(boxes.Shown().empty());
        Click(d, IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(DirEntries(), QStringList{"Quorvane.ini"});
}

TEST(MainWindow, AFailedSaveIsReportedAndTheListKeepsTheChange)
{
    TempWorkingDir dir;
    WriteFile("Quorvane.ini", kSole);
    DialogScript script;
    MessageBoxes boxes;
    CMainDlg dlg;

    script.On(IDD_QUORVANE_DIALOG, [&](CDialog& d) {
        // The file turns into a directory: nothing can replace it.
        QDir::current().remove("Quorvane.ini");
        QDir::current().mkdir("Quorvane.ini");
        Click(d, IDC_ADDSYSTEM);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].second, 0u);
        EXPECT_NE(boxes.Shown()[0].first.find("Quorvane.ini"), std::string::npos);
        EXPECT_EQ(Systems(d), (QStringList{"Sole e Terra", "Nuova configurazione"}));
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 1);
        Press(d, Qt::Key_Escape);
    });
    script.On(IDD_SYSTEM, [&](CDialog& e) { Press(e, Qt::Key_Escape); });
    dlg.DoModal();
    EXPECT_EQ(dlg.m_Systems.GetSize(), 2);
}

TEST(MainWindow, EnterOnTheChooserRunsTheSelectedSystemAndChangesNothing)
{
    TempWorkingDir dir;
    WriteFile("Quorvane.ini", kHandWritten);
    DialogScript script;
    MessageBoxes boxes;
    CMainDlg dlg;

    script.On(IDD_QUORVANE_DIALOG, [&](CDialog& d) {
        Pick(d, IDC_SYSTEMS, 2);
        EXPECT_EQ(Window(d)->focusWidget(), d.GetDlgItem(IDC_SYSTEMS));
        Press(d, Qt::Key_Return);
        EXPECT_EQ(script.OpenedCount(IDD_SIMULATION), 1);
        EXPECT_TRUE(Window(d)->isVisible());
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 2);
        EXPECT_EQ(Systems(d).size(), 3);
        Press(d, Qt::Key_Escape);
    });
    script.On(IDD_SIMULATION, [&](CDialog& sim) {
        auto& run = static_cast<CSimulationDlg&>(sim);
        EXPECT_EQ(run.m_system.m_strName, "Tre corpi");
        Press(sim, Qt::Key_Escape);
    });
    dlg.DoModal();
    EXPECT_TRUE(script.AllUsed());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(ReadFile("Quorvane.ini"), kHandWritten);
}
