// The system editor driven through its window: handlers, the current-planet
// protocol, what OK and Escape keep, refused fields and systems without planets.
#include <QMessageBox>

#include <cmath>
#include <limits>
#include <optional>

#include "../store/StoreTestUtil.h"
#include "DialogDriver.h"
#include "res/resource.h"

using namespace qvtest;

namespace {

// "Due pianeti": law 1, parameter 3, a fixed sun and a planet in orbit, plus a third body.
class SystemEditor : public ::testing::Test {
protected:
    SystemEditor()
    {
        s.m_strName = "Due pianeti";
        s.m_nForceType = 1;
        s.m_strForceParams = "3";
        s.m_Planets.Add(MakePlanet("Sole", 400, 300, 0, 0, 10, 1));
        s.m_Planets.Add(MakePlanet("Terra", 400, 150, 8.5, 0, 1));
        s.m_Planets.Add(MakePlanet("Luna", 400, 140, 9.5, -0.25, 0.5));
    }
    int Run(Step step)
    {
        script.On(IDD_SYSTEM, std::move(step));
        return s.DoModal();
    }
    // What the editor shows: "chooser lines #selected line: name x y vx vy mass fixed".
    QString Shown(CDialog& dlg)
    {
        EXPECT_EQ(s.m_nCurrentPlanet, Selected(dlg, IDC_PLANETS)) << "the shown planet is the current one";
        QStringList f;
        for (int id : {IDC_PLANETNAME, IDC_PLANETX, IDC_PLANETY, IDC_PLANETVX, IDC_PLANETVY, IDC_MASS}) f << FieldText(dlg, id);
        auto* fixed = Control<QAbstractButton>(dlg, IDC_FIXED);
        return QString("%1 #%2: %3 %4").arg(Lines(dlg, IDC_PLANETS).join(','), QString::number(Selected(dlg, IDC_PLANETS)),
                                          f.join(' '), fixed && fixed->isChecked() ? "1" : "0");
    }
    std::string SystemLine() const { return Dump(s).substr(0, Dump(s).find('\n')); }

    DialogScript script;
    std::optional<MessageBoxes> boxes{std::in_place};
    CSystemDlg s;
};

}  // namespace

TEST_F(SystemEditor, OpensOnPlanetZeroWithFocusOnOkAndEnterStoresIt)
{
    EXPECT_EQ(Run([&](CDialog& dlg) {
        EXPECT_EQ(Window(dlg)->windowTitle(), "Caratteristiche del sistema");
        EXPECT_EQ(Window(dlg)->focusWidget(), dlg.GetDlgItem(IDOK));
        EXPECT_EQ(Shown(dlg), "Sole,Terra,Luna #0: Sole 400 300 0 0 10 1");
        EXPECT_EQ(FieldText(dlg, IDC_SYSTEMNAME) + "|" + FieldText(dlg, IDC_FORCEPARAMS), "Due pianeti|3");
        EXPECT_EQ(Selected(dlg, IDC_FORCETYPE), 1);
        EXPECT_EQ(Lines(dlg, IDC_FORCETYPE).size(), 4);
        Type(dlg, IDC_MASS, "2.5");
        Type(dlg, IDC_PLANETNAME, "Sole giallo");
        Press(dlg, Qt::Key_Return);
    }), IDOK);
    EXPECT_TRUE(boxes->Shown().empty());
    EXPECT_EQ(Dump(s), "[Due pianeti] 1 3\n Sole giallo 400 300 0 0 2.5 1 40\n Terra 400 150 8.5 0 1 0 0\n"
                       " Luna 400 140 9.5 -0.25 0.5 0 0\n");
}

TEST_F(SystemEditor, ChoosingOrAddingAPlanetStoresTheShownOneAndEscapeKeepsThat)
{
    EXPECT_EQ(Run([&](CDialog& dlg) {
        Type(dlg, IDC_PLANETNAME, "Sole nuovo");
        Type(dlg, IDC_PLANETX, "123.5");
        Type(dlg, IDC_MASS, "9.99");
        Click(dlg, IDC_FIXED);  // unchecks
        // The chooser shows a new name only once the planet is stored.
        EXPECT_EQ(Shown(dlg), "Sole,Terra,Luna #0: Sole nuovo 123.5 300 0 0 9.99 0");
        EXPECT_EQ(s.m_Planets[0].m_dX, 400.0);

        // Down on the focused chooser, as a user picks the next line.
        auto* combo = Control<QComboBox>(dlg, IDC_PLANETS);
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        EXPECT_EQ(Shown(dlg), "Sole nuovo,Terra,Luna #1: Terra 400 150 8.5 0 1 0");
        EXPECT_EQ(Dump(s.m_Planets[0]), "Sole nuovo 123.5 300 0 0 9.99 0 320");

        Pick(dlg, IDC_PLANETS, 2);
        Type(dlg, IDC_PLANETVY, "-7");
        Click(dlg, IDC_ADDPLANET);
        EXPECT_EQ(Dump(s.m_Planets[2]), "Luna 400 140 9.5 -7 0.5 0 0");
        EXPECT_EQ(Shown(dlg), "Sole nuovo,Terra,Luna,Nuovo pianeta #3: Nuovo pianeta 0 0 0 0 1 0");

        // Edits of the planet shown at the end are dropped by Escape.
        Type(dlg, IDC_MASS, "5");
        Press(dlg, Qt::Key_Escape);
    }), IDCANCEL);
    EXPECT_TRUE(boxes->Shown().empty());
    EXPECT_EQ(Dump(s), "[Due pianeti] 1 3\n Sole nuovo 123.5 300 0 0 9.99 0 320\n Terra 400 150 8.5 0 1 0 0\n"
                       " Luna 400 140 9.5 -7 0.5 0 0\n Nuovo pianeta 0 0 0 0 1 0 0\n");
}

TEST_F(SystemEditor, DeletingAsksAndAPlanetlessSystemDisablesThePlanetFields)
{
    const int planetFields[] = {IDC_PLANETNAME, IDC_PLANETX, IDC_PLANETY, IDC_PLANETVX, IDC_PLANETVY,
                                IDC_MASS,       IDC_FIXED,   IDC_STABILIZE, IDC_DELETEPLANET};
    auto expectEnabled = [&](CDialog& dlg, bool bEnabled) {
        for (int id : planetFields) EXPECT_EQ(dlg.GetDlgItem(id)->isEnabled(), bEnabled) << id;
    };
    boxes.reset();  // first a real box, answered No on screen
    EXPECT_EQ(Run([&](CDialog& dlg) {
        expectEnabled(dlg, true);
        Pick(dlg, IDC_PLANETS, 1);
        Type(dlg, IDC_PLANETX, "1");
        bool seen = false;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen = true;
            EXPECT_EQ(box->text(), "Eliminare il pianeta selezionato?");
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            box->button(QMessageBox::No)->click();
        });
        Click(dlg, IDC_DELETEPLANET);
        EXPECT_TRUE(seen);
        EXPECT_EQ(s.m_Planets.GetSize(), 3);
        EXPECT_EQ(Shown(dlg), "Sole,Terra,Luna #1: Terra 1 150 8.5 0 1 0");

        boxes.emplace();
        for (int i = 0; i < 3; ++i) boxes->Answer(IDYES);
        Click(dlg, IDC_DELETEPLANET);
        EXPECT_EQ(boxes->Shown(), (std::vector<std::pair<std::string, UINT>>{{"Eliminare il pianeta selezionato?", 36u}}));
        // The planet that took the deleted one's line is shown; after the last line, the new last one.
        EXPECT_EQ(Shown(dlg), "Sole,Luna #1: Luna 400 140 9.5 -0.25 0.5 0");
        Click(dlg, IDC_DELETEPLANET);
        EXPECT_EQ(Shown(dlg), "Sole #0: Sole 400 300 0 0 10 1");

        expectEnabled(dlg, true);
        Click(dlg, IDC_DELETEPLANET);
        EXPECT_EQ(s.m_Planets.GetSize(), 0);
        expectEnabled(dlg, false);
        EXPECT_EQ(Shown(dlg), " #-1:       0");
        Click(dlg, IDOK);  // nothing to read from the empty fields
    }), IDOK);
    EXPECT_EQ(boxes->Shown().size(), 3u);

    EXPECT_EQ(Run([&](CDialog& dlg) {
        expectEnabled(dlg, false);
        EXPECT_EQ(Shown(dlg), " #-1:       0");
        // Nothing to delete or balance; the buttons are off, and so are the handlers.
        s.OnDeletePlanet();
        s.OnStabilize();
        s.OnFixed();
        Type(dlg, IDC_SYSTEMNAME, "Ancora vuoto");
        Click(dlg, IDC_ADDPLANET);
        expectEnabled(dlg, true);
        EXPECT_EQ(Shown(dlg), "Nuovo pianeta #0: Nuovo pianeta 0 0 0 0 1 0");
        Type(dlg, IDC_PLANETX, "12");
        Click(dlg, IDOK);
    }), IDOK);
    EXPECT_EQ(boxes->Shown().size(), 3u);
    EXPECT_EQ(Dump(s), "[Ancora vuoto] 1 3\n Nuovo pianeta 12 0 0 0 1 0 0\n");
}

TEST_F(SystemEditor, StabilizeAndFixedSetOnlyTheVelocityFields)
{
    s.m_Planets.RemoveAll();
    s.m_Planets.Add(MakePlanet("A", 10, 20, 0.5, 0.5, 1));
    s.m_Planets.Add(MakePlanet("B", 30, 40, 3, -1, 2));
    EXPECT_EQ(Run([&](CDialog& dlg) {
        Type(dlg, IDC_MASS, "4");
        Click(dlg, IDC_STABILIZE);
        EXPECT_EQ(Shown(dlg), "A,B #0: A 10 20 -1.5 0.5 4 0");
        EXPECT_EQ(s.m_Planets[0].m_dVx, 0.5);  // the record waits for the next store

        // A mass of 0 balances nothing: the velocity stays as typed.
        Type(dlg, IDC_MASS, "0");
        Type(dlg, IDC_PLANETVX, "2");
        Click(dlg, IDC_STABILIZE);
        EXPECT_EQ(Shown(dlg), "A,B #0: A 10 20 2 0.5 0 0");

        Click(dlg, IDC_FIXED);
        EXPECT_EQ(Shown(dlg), "A,B #0: A 10 20 0 0 0 1");
        Type(dlg, IDC_PLANETVX, "3");
        Click(dlg, IDC_FIXED);
        EXPECT_EQ(Shown(dlg), "A,B #0: A 10 20 3 0 0 0");
        Click(dlg, IDOK);
    }), IDOK);
    EXPECT_TRUE(boxes->Shown().empty());
    EXPECT_EQ(Dump(s.m_Planets[0]) + "," + Dump(s.m_Planets[1]), "A 10 20 3 0 0 0 0,B 30 40 3 -1 2 0 40");
}

TEST_F(SystemEditor, SystemFieldsAreKeptAsOfTheLastExchange)
{
    // The polynomial law is refused, other laws are taken at once.
    Run([&](CDialog& dlg) {
        Pick(dlg, IDC_FORCETYPE, 3);
        EXPECT_EQ(boxes->Shown(), (std::vector<std::pair<std::string, UINT>>{{"Funzione non ancora realizzata", 0u}}));
        EXPECT_EQ(Selected(dlg, IDC_FORCETYPE), 0);
        EXPECT_EQ(s.m_nForceType, 0);
        EXPECT_EQ(FieldText(dlg, IDC_FORCEPARAMS), "3");
        Pick(dlg, IDC_FORCETYPE, 2);
        EXPECT_EQ(boxes->Shown().size(), 1u);
        EXPECT_EQ(Selected(dlg, IDC_FORCETYPE), 2);
        EXPECT_EQ(s.m_nForceType, 2);
        Press(dlg, Qt::Key_Escape);
    });
    EXPECT_EQ(SystemLine(), "[Due pianeti] 2 3");
    boxes->Clear();

    // Typed, then Escape with no exchange in between: nothing kept.
    Run([&](CDialog& dlg) {
        Type(dlg, IDC_SYSTEMNAME, "Altro nome");
        Type(dlg, IDC_FORCEPARAMS, "2.5");
        Press(dlg, Qt::Key_Escape);
    });
    EXPECT_EQ(SystemLine(), "[Due pianeti] 2 3");

    // A handler exchanges: what was typed before it is kept, later typing is not.
    Run([&](CDialog& dlg) {
        Type(dlg, IDC_SYSTEMNAME, "Altro nome");
        Type(dlg, IDC_FORCEPARAMS, "2.5");
        Click(dlg, IDC_FIXED);
        Type(dlg, IDC_FORCEPARAMS, "9");
        Press(dlg, Qt::Key_Escape);
    });
    EXPECT_EQ(SystemLine(), "[Altro nome] 2 2.5");

    // OK keeps everything.
    EXPECT_EQ(Run([&](CDialog& dlg) {
        Type(dlg, IDC_SYSTEMNAME, "Terzo nome");
        Type(dlg, IDC_FORCEPARAMS, "4");
        Pick(dlg, IDC_FORCETYPE, 1);
        Type(dlg, IDC_PLANETY, "301");
        Click(dlg, IDOK);
    }), IDOK);
    EXPECT_EQ(SystemLine(), "[Terzo nome] 1 4");
    EXPECT_EQ(s.m_Planets[0].m_dY, 301.0);
    EXPECT_TRUE(boxes->Shown().empty());

    // An index the list does not have selects nothing and reads back as -1.
    s.m_nForceType = 7;
    Run([&](CDialog& dlg) {
        EXPECT_EQ(Selected(dlg, IDC_FORCETYPE), -1);
        EXPECT_EQ(s.m_nForceType, -1);
        Press(dlg, Qt::Key_Escape);
    });
    EXPECT_EQ(s.m_nForceType, -1);
}

TEST_F(SystemEditor, RefusedNumberIsReportedTwiceOnOkAndKeepsTheLaterFields)
{
    EXPECT_EQ(Run([&](CDialog& dlg) {
        Type(dlg, IDC_MASS, "6");            // before the refused field in the exchange
        Type(dlg, IDC_PLANETVX, "1.25");     // before
        Type(dlg, IDC_PLANETX, "abc");       // refused
        Type(dlg, IDC_PLANETY, "5");         // after
        Type(dlg, IDC_SYSTEMNAME, "Nuovo");  // after
        Click(dlg, IDOK);

        EXPECT_EQ(boxes->Texts(), std::vector<std::string>(2, "Immettere un numero."));
        EXPECT_TRUE(Window(dlg)->isVisible());
        EXPECT_EQ(Window(dlg)->focusWidget(), dlg.GetDlgItem(IDC_PLANETX));
        EXPECT_EQ(Dump(s.m_Planets[0]), "Sole 400 300 1.25 0 6 1 200");
        EXPECT_EQ(s.m_strName, "Due pianeti");

        boxes->Clear();
        Type(dlg, IDC_PLANETX, "-2");
        Click(dlg, IDOK);
    }), IDOK);
    EXPECT_TRUE(boxes->Shown().empty());
    EXPECT_EQ(Dump(s.m_Planets[0]), "Sole -2 5 1.25 0 6 1 200");
    EXPECT_EQ(s.m_strName, "Nuovo");
}

TEST_F(SystemEditor, AValueThatIsNotANumberFromTheFileIsKeptUntilRetyped)
{
    s.m_Planets[0].m_dMass = std::numeric_limits<double>::quiet_NaN();
    Run([&](CDialog& dlg) {
        EXPECT_EQ(FieldText(dlg, IDC_MASS), "nan");
        Press(dlg, Qt::Key_Escape);
    });
    // Opening again reads nothing old back and asks nothing.
    EXPECT_EQ(Run([&](CDialog& dlg) { Click(dlg, IDOK); }), IDOK);
    EXPECT_TRUE(boxes->Shown().empty());
    EXPECT_TRUE(std::isnan(s.m_Planets[0].m_dMass));

    EXPECT_EQ(Run([&](CDialog& dlg) {
        Type(dlg, IDC_MASS, "3");
        Click(dlg, IDOK);
    }), IDOK);
    EXPECT_EQ(Dump(s.m_Planets[0]), "Sole 400 300 0 0 3 1 80");
}
