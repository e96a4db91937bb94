// The main window driven through its window: loading, the help text, focus,
// the list commands and what they leave in the file, and the start button.
#include <QDir>
#include <QPlainTextEdit>

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
    std::string out = s.str() + (type > 0 ? std::string(params) + "\n" : "");
    for (const PlanetLine& p : planets) {
        s.Format("%s\n\t%f\t%f\t%f\t%f\t%f\t%d\n", p.name, p.x, p.y, p.vx, p.vy, p.mass, p.fixed);
        out += s.str();
    }
    return out + "\n";
}

const std::string kSole = Block("Sole e Terra", 0, "", {{"Sole", 400, 300, 0, 0, 10, 1}, {"Terra", 400, 150, 8.5, 0, 1, 0}});
const std::string kBinaria = Block("Stella binaria", 1, "2.5", {{"A", 350, 300, 0, 5, 5, 0}, {"B", 450, 300, 0, -5, 5, 0}});
const std::string kTre = Block("Tre corpi", 2, "0.01", {{"Uno", 100, 100, 1, 0, 3, 0}});
const std::string kNew = Block("Nuova configurazione", 0, "",
                               {{"Primo pianeta", 0, 0, 0, 0, 1, 0}, {"Secondo pianeta", 0, 0, 0, 0, 1, 0}});
// Hand-written content that a rewrite would not give back byte for byte.
const std::string kHandWritten = "; systems\n[Sole e Terra]\n0\nSole\n 400 300 0 0 10 1\nTerra\n 400 150 8.5 0 1 0\n\n" +
                                 kBinaria + kTre;
const std::string kMissing = "File di configurazione \"Quorvane.ini\" mancante";

QStringList Systems(CDialog& dlg) { return Lines(dlg, IDC_SYSTEMS); }

QStringList DirEntries() { return QDir::current().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }

// Each test runs the window once in a working directory of its own.
class MainWindow : public ::testing::Test {
protected:
    TempWorkingDir dir;
    DialogScript script;
    MessageBoxes boxes;
    CMainDlg dlg;
};

}  // namespace

TEST_F(MainWindow, ListsTheFileInOrderWithFocusOnStartAndEscapeWritesNothing)
{
    const std::string file = kHandWritten + Block("Sole e Terra", 0, "", {{"Luna", 1, 2, 3, 4, 0.5, 0}});
    WriteFile("Quorvane.ini", file);
    script.On(IDD_QUORVANE_DIALOG, [&](CDialog& d) {
        EXPECT_EQ(Window(d)->windowTitle(), "Quorvane");
        EXPECT_FALSE(Window(d)->windowIcon().isNull());
        EXPECT_EQ(Systems(d), (QStringList{"Sole e Terra", "Stella binaria", "Tre corpi", "Sole e Terra"}));
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 0);
        EXPECT_EQ(Window(d)->focusWidget(), d.GetDlgItem(IDOK));
        EXPECT_EQ(Control<QPlainTextEdit>(d, IDC_HELPTEXT)->toPlainText(),
                  QString::fromUtf8(kHelpText).replace("\r\n", "\n"));
        // The keyboard reaches "Aggiungi..." with four Tabs.
        for (int i = 0; i < 4; ++i) Press(d, Qt::Key_Tab);
        EXPECT_EQ(Window(d)->focusWidget(), d.GetDlgItem(IDC_ADDSYSTEM));
        Press(d, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(boxes.Shown().empty());
    ASSERT_EQ(dlg.m_Systems.GetSize(), 4);
    EXPECT_EQ(dlg.m_Systems[3].m_Planets[0].m_strName, "Luna");
    EXPECT_EQ(ReadFile("Quorvane.ini"), file);
    EXPECT_EQ(DirEntries(), QStringList{"Quorvane.ini"});

    // The help text: nineteen lines joined by CR LF, no line end after the last.
    const QStringList lines = QString::fromUtf8(kHelpText).split("\r\n");
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines[0], "QUORVANE UNIVERSALE");
    for (int i : {1, 3, 5, 7, 10, 13, 15, 17}) EXPECT_EQ(lines[i], "") << i;
    EXPECT_TRUE(lines[6].contains("\"Avvia la simulazione\"") && lines[6].endsWith('.'));
    EXPECT_TRUE(lines[9].startsWith("Durante la simulazione \xc3\xa8 possibile"));
    EXPECT_EQ(lines[12], "Sar\xc3\xa0 visualizzata una finestra di configurazione che permetter\xc3\xa0 di aggiugere o "
                         "togliere pianeti, e di modificare il tipo di forze che intevengono.");
    EXPECT_TRUE(lines[18].startsWith("         Q") && !lines[18].endsWith('\n'));
}

TEST_F(MainWindow, MissingFileIsReportedAndCreatedByAddButAnEmptyFileIsNotReported)
{
    script.On(IDD_QUORVANE_DIALOG, [&](CDialog& d) {
        EXPECT_EQ(boxes.Shown(), (std::vector<std::pair<std::string, UINT>>{{kMissing, 0u}}));
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), -1);
        // Nothing selected: the three commands that need a system do nothing.
        Press(d, Qt::Key_Return);
        Click(d, IDC_MODIFYSYSTEM);
        Click(d, IDC_DELETESYSTEM);
        EXPECT_FALSE(FileExists("Quorvane.ini"));
        Click(d, IDC_ADDSYSTEM);
        EXPECT_EQ(Systems(d), QStringList{"Nuova configurazione"});
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 0);
        Press(d, Qt::Key_Escape);
    });
    script.On(IDD_SYSTEM, [&](CDialog& e) { Press(e, Qt::Key_Escape); });
    dlg.DoModal();
    EXPECT_TRUE(script.AllUsed());
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kMissing});
    EXPECT_EQ(ReadFile("Quorvane.ini"), kNew);

    WriteFile("Quorvane.ini", "\n\n  \n");
    boxes.Clear();
    script.On(IDD_QUORVANE_DIALOG, [&](CDialog& d) {
        EXPECT_TRUE(Systems(d).isEmpty());
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), -1);
        Press(d, Qt::Key_Escape);
    });
    CMainDlg().DoModal();
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(ReadFile("Quorvane.ini"), "\n\n  \n");
}

TEST_F(MainWindow, AddAppendsTheNewSystemEvenAfterEscapeAndSavesTheList)
{
    WriteFile("Quorvane.ini", kHandWritten);
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
    script.On(IDD_SYSTEM, [&](CDialog& e) { Press(e, Qt::Key_Escape); });
    script.On(IDD_SYSTEM, [&](CDialog& e) {
        Type(e, IDC_SYSTEMNAME, "Mio sistema");
        Type(e, IDC_PLANETX, "10");
        Click(e, IDOK);
    });
    dlg.DoModal();
    EXPECT_TRUE(script.AllUsed());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(ReadFile("Quorvane.ini"),
              kSole + kBinaria + kTre + kNew +
                  Block("Mio sistema", 0, "", {{"Primo pianeta", 10, 0, 0, 0, 1, 0}, {"Secondo pianeta", 0, 0, 0, 0, 1, 0}}));

}

TEST_F(MainWindow, ModifyEditsTheStoredSystemInPlace)
{
    WriteFile("Quorvane.ini", kHandWritten);
    const std::string edited =
        kSole + Block("Binaria stretta", 1, "3", {{"A", 350, 300, 0, 5, 5, 0}, {"B", 450, 300, 0, -6, 5, 0}}) + kTre;
    script.On(IDD_QUORVANE_DIALOG, [&](CDialog& d) {
        Pick(d, IDC_SYSTEMS, 1);
        Click(d, IDC_MODIFYSYSTEM);
        EXPECT_EQ(Systems(d), (QStringList{"Sole e Terra", "Binaria stretta", "Tre corpi"}));
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 1);
        EXPECT_EQ(ReadFile("Quorvane.ini"), edited);
        Pick(d, IDC_SYSTEMS, 2);
        Click(d, IDC_MODIFYSYSTEM);  // closed with Escape: nothing changes
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 2);
        Press(d, Qt::Key_Escape);
    });
    script.On(IDD_SYSTEM, [&](CDialog& e) {
        Type(e, IDC_SYSTEMNAME, "Binaria stretta");
        Type(e, IDC_FORCEPARAMS, "3");
        Pick(e, IDC_PLANETS, 1);
        Type(e, IDC_PLANETVY, "-6");
        Click(e, IDOK);
    });
    script.On(IDD_SYSTEM, [&](CDialog& e) { Press(e, Qt::Key_Escape); });
    dlg.DoModal();
    EXPECT_TRUE(script.AllUsed());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(ReadFile("Quorvane.ini"), edited);
}

TEST_F(MainWindow, EnterRunsTheSelectedSystemAndDeleteAsksAndKeepsTheSelectionOnTheNextOrLastLine)
{
    WriteFile("Quorvane.ini", kHandWritten);
    script.On(IDD_SIMULATION, [&](CDialog& sim) {
        EXPECT_EQ(static_cast<CSimulationDlg&>(sim).m_system.m_strName, "Tre corpi");
        Press(sim, Qt::Key_Escape);
    });
    script.On(IDD_QUORVANE_DIALOG, [&](CDialog& d) {
        Pick(d, IDC_SYSTEMS, 2);
        EXPECT_EQ(Window(d)->focusWidget(), d.GetDlgItem(IDC_SYSTEMS));
        Press(d, Qt::Key_Return);  // the chooser's Enter starts the run and changes nothing
        EXPECT_EQ(script.OpenedCount(IDD_SIMULATION), 1);
        EXPECT_TRUE(Window(d)->isVisible());
        EXPECT_EQ(Selected(d, IDC_SYSTEMS), 2);
        Pick(d, IDC_SYSTEMS, 1);
        boxes.Answer(IDNO);
        Click(d, IDC_DELETESYSTEM);
        EXPECT_EQ(boxes.Shown(), (std::vector<std::pair<std::string, UINT>>{
                                     {"Eliminare la configurazione selezionata?", 36u}}));
        EXPECT_EQ(Systems(d).size(), 3);
        EXPECT_EQ(ReadFile("Quorvane.ini"), kHandWritten);
        // {selection left, list, file} after each confirmed deletion; the last line selects the new last one.
        const struct {
            int selected;
            QStringList systems;
            std::string file;
        } steps[] = {{1, {"Sole e Terra", "Tre corpi"}, kSole + kTre}, {0, {"Sole e Terra"}, kSole}, {-1, {}, ""}};
        for (const auto& s : steps) {
            boxes.Answer(IDYES);
            Click(d, IDC_DELETESYSTEM);
            EXPECT_EQ(Systems(d), s.systems);
            EXPECT_EQ(Selected(d, IDC_SYSTEMS), s.selected);
            EXPECT_EQ(dlg.m_Systems.GetSize(), s.systems.size());
            EXPECT_TRUE(FileExists("Quorvane.ini"));
            EXPECT_EQ(ReadFile("Quorvane.ini"), s.file);
        }
        // Nothing left to delete: no question, no write.
        boxes.Clear();
        Click(d, IDC_DELETESYSTEM);
        Click(d, IDC_MODIFYSYSTEM);
        EXPECT_TRUE(boxes.Shown().empty());
        Click(d, IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_TRUE(script.AllUsed());
    EXPECT_EQ(DirEntries(), QStringList{"Quorvane.ini"});
}
