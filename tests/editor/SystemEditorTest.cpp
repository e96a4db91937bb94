// The system editor driven through its window: handlers, the current-planet
// protocol, what OK and Escape keep, refused fields and systems without planets.
#include <QCheckBox>
#include <QPushButton>

#include <cmath>
#include <limits>

#include "DialogDriver.h"
#include "res/resource.h"
#include "store/SystemDlg.h"

using namespace qvtest;

namespace {

CPlanet MakePlanet(const char* name, double x, double y, double vx, double vy, double mass, int fixed = 0)
{
    CPlanet p;
    p.m_strName = name;
    p.m_dX = x;
    p.m_dY = y;
    p.m_dVx = vx;
    p.m_dVy = vy;
    p.m_dMass = mass;
    p.m_nSpriteX = SpriteOffsetForMass(mass);
    p.m_bFixed = fixed;
    return p;
}

// "Due pianeti": law 1, parameter 3, a fixed sun and a planet in orbit, plus a third body.
void FillThree(CSystemDlg& s)
{
    s.m_strName = "Due pianeti";
    s.m_nForceType = 1;
    s.m_strForceParams = "3";
    s.m_Planets.Add(MakePlanet("Sole", 400, 300, 0, 0, 10, 1));
    s.m_Planets.Add(MakePlanet("Terra", 400, 150, 8.5, 0, 1));
    s.m_Planets.Add(MakePlanet("Luna", 400, 140, 9.5, -0.25, 0.5));
}

bool IsChecked(CDialog& dlg, int nID)
{
    auto* c = Control<QAbstractButton>(dlg, nID);
    return c && c->isChecked();
}

QStringList Fields(CDialog& dlg)
{
    return {FieldText(dlg, IDC_PLANETNAME), FieldText(dlg, IDC_PLANETX), FieldText(dlg, IDC_PLANETY),
            FieldText(dlg, IDC_PLANETVX),   FieldText(dlg, IDC_PLANETVY), FieldText(dlg, IDC_MASS)};
}

}  // namespace

TEST(SystemEditor, OpensOnPlanetZeroWithFocusOnOkAndEnterStoresIt)
{
    DialogScript script;
    MessageBoxes boxes;
    CSystemDlg s;
    FillThree(s);

    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        EXPECT_EQ(Window(dlg)->windowTitle(), QString::fromUtf8("Caratteristiche del sistema"));
        EXPECT_EQ(Window(dlg)->focusWidget(), dlg.GetDlgItem(IDOK));
        EXPECT_EQ(Lines(dlg, IDC_PLANETS), (QStringList{"Sole", "Terra", "Luna"}));
        EXPECT_EQ(Selected(dlg, IDC_PLANETS), 0);
        EXPECT_EQ(Fields(dlg), (QStringList{"Sole", "400", "300", "0", "0", "10"}));
        EXPECT_TRUE(IsChecked(dlg, IDC_FIXED));
        EXPECT_EQ(FieldText(dlg, IDC_SYSTEMNAME), "Due pianeti");
        EXPECT_EQ(FieldText(dlg, IDC_FORCEPARAMS), "3");
        EXPECT_EQ(Selected(dlg, IDC_FORCETYPE), 1);
        EXPECT_EQ(Lines(dlg, IDC_FORCETYPE).size(), 4);
        EXPECT_EQ(s.m_nCurrentPlanet, 0);

        Type(dlg, IDC_MASS, "2.5");
        Type(dlg, IDC_PLANETNAME, "Sole giallo");
        Press(dlg, Qt::Key_Return);
    });

    EXPECT_EQ(s.DoModal(), IDOK);
    EXPECT_TRUE(script.AllUsed());
    EXPECT_TRUE(boxes.Shown().empty());
    ASSERT_EQ(s.m_Planets.GetSize(), 3);
    EXPECT_EQ(s.m_Planets[0].m_strName, "Sole giallo");
    EXPECT_EQ(s.m_Planets[0].m_dMass, 2.5);
    EXPECT_EQ(s.m_Planets[0].m_nSpriteX, 40);
    EXPECT_EQ(s.m_Planets[0].m_bFixed, 1);
    EXPECT_EQ(s.m_Planets[0].m_dX, 400.0);
    EXPECT_EQ(s.m_Planets[1].m_strName, "Terra");
}

TEST(SystemEditor, ChoosingAnotherPlanetStoresTheShownOneAndEscapeKeepsIt)
{
    DialogScript script;
    MessageBoxes boxes;
    CSystemDlg s;
    FillThree(s);

    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        Type(dlg, IDC_PLANETNAME, "Sole nuovo");
        Type(dlg, IDC_PLANETX, "123.5");
        Type(dlg, IDC_MASS, "9.99");
        Click(dlg, IDC_FIXED);  // unchecks
        // The chooser shows a new name only once the planet is stored.
        EXPECT_EQ(Lines(dlg, IDC_PLANETS).at(0), "Sole");
        EXPECT_EQ(s.m_Planets[0].m_dX, 400.0);

        // Down on the focused chooser, as a user picks the next line.
        auto* combo = Control<QComboBox>(dlg, IDC_PLANETS);
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);

        EXPECT_EQ(Lines(dlg, IDC_PLANETS), (QStringList{"Sole nuovo", "Terra", "Luna"}));
        EXPECT_EQ(Selected(dlg, IDC_PLANETS), 1);
        EXPECT_EQ(s.m_nCurrentPlanet, 1);
        EXPECT_EQ(Fields(dlg), (QStringList{"Terra", "400", "150", "8.5", "0", "1"}));
        EXPECT_FALSE(IsChecked(dlg, IDC_FIXED));
        EXPECT_EQ(s.m_Planets[0].m_dX, 123.5);
        EXPECT_EQ(s.m_Planets[0].m_nSpriteX, 320);
        EXPECT_EQ(s.m_Planets[0].m_bFixed, 0);

        // Edits of the planet shown at the end are dropped by Escape.
        Type(dlg, IDC_PLANETY, "777");
        Press(dlg, Qt::Key_Escape);
    });

    EXPECT_EQ(s.DoModal(), IDCANCEL);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(s.m_Planets[0].m_strName, "Sole nuovo");
    EXPECT_EQ(s.m_Planets[0].m_dX, 123.5);
    EXPECT_EQ(s.m_Planets[0].m_dMass, 9.99);
    EXPECT_EQ(s.m_Planets[1].m_dY, 150.0);
}

TEST(SystemEditor, AddPlanetStoresTheShownOneAndShowsANewDefaultPlanet)
{
    DialogScript script;
    MessageBoxes boxes;
    CSystemDlg s;
    FillThree(s);

    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        Pick(dlg, IDC_PLANETS, 2);
        Type(dlg, IDC_PLANETVY, "-7");
        Click(dlg, IDC_ADDPLANET);

        EXPECT_EQ(s.m_Planets.GetSize(), 4);
        EXPECT_EQ(s.m_Planets[2].m_dVy, -7.0);
        EXPECT_EQ(Lines(dlg, IDC_PLANETS), (QStringList{"Sole", "Terra", "Luna", "Nuovo pianeta"}));
        EXPECT_EQ(Selected(dlg, IDC_PLANETS), 3);
        EXPECT_EQ(s.m_nCurrentPlanet, 3);
        EXPECT_EQ(Fields(dlg), (QStringList{"Nuovo pianeta", "0", "0", "0", "0", "1"}));
        EXPECT_FALSE(IsChecked(dlg, IDC_FIXED));

        Type(dlg, IDC_MASS, "5");
        Press(dlg, Qt::Key_Escape);
    });

    s.DoModal();
    ASSERT_EQ(s.m_Planets.GetSize(), 4);
    EXPECT_EQ(s.m_Planets[2].m_dVy, -7.0);
    const CPlanet& added = s.m_Planets[3];
    EXPECT_EQ(added.m_strName, "Nuovo pianeta");
    EXPECT_EQ(added.m_dMass, 1.0);  // typed but never stored
    EXPECT_EQ(added.m_dX, 0.0);
    EXPECT_EQ(added.m_bFixed, 0);
    EXPECT_EQ(added.m_nSpriteX, 0);
}

TEST(SystemEditor, DeletePlanetAsksAndShowsTheNextOrThePreviousPlanet)
{
    DialogScript script;
    CSystemDlg s;
    FillThree(s);

    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        Pick(dlg, IDC_PLANETS, 1);
        Type(dlg, IDC_PLANETX, "1");

        // First a real box, answered No on screen.
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
        EXPECT_EQ(Lines(dlg, IDC_PLANETS).size(), 3);
        EXPECT_EQ(FieldText(dlg, IDC_PLANETX), "1");

        MessageBoxes boxes;
        boxes.Answer(IDYES);
        Click(dlg, IDC_DELETEPLANET);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].first, "Eliminare il pianeta selezionato?");
        EXPECT_EQ(boxes.Shown()[0].second, 36u);
        // The planet that took the deleted one's line is shown.
        EXPECT_EQ(Lines(dlg, IDC_PLANETS), (QStringList{"Sole", "Luna"}));
        EXPECT_EQ(Selected(dlg, IDC_PLANETS), 1);
        EXPECT_EQ(FieldText(dlg, IDC_PLANETNAME), "Luna");

        // Deleting the last line shows the new last planet.
        boxes.Answer(IDYES);
        Click(dlg, IDC_DELETEPLANET);
        EXPECT_EQ(Lines(dlg, IDC_PLANETS), (QStringList{"Sole"}));
        EXPECT_EQ(Selected(dlg, IDC_PLANETS), 0);
        EXPECT_EQ(FieldText(dlg, IDC_PLANETNAME), "Sole");
        Press(dlg, Qt::Key_Escape);
    });

    s.DoModal();
    ASSERT_EQ(s.m_Planets.GetSize(), 1);
    EXPECT_EQ(s.m_Planets[0].m_strName, "Sole");
}

TEST(SystemEditor, StabilizeAndFixedSetOnlyTheVelocityFields)
{
    DialogScript script;
    MessageBoxes boxes;
    CSystemDlg s;
    s.m_strName = "Coppia";
    s.m_Planets.Add(MakePlanet("A", 10, 20, 0.5, 0.5, 1));
    s.m_Planets.Add(MakePlanet("B", 30, 40, 3, -1, 2));

    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        Type(dlg, IDC_MASS, "4");
        Click(dlg, IDC_STABILIZE);
        EXPECT_EQ(FieldText(dlg, IDC_PLANETVX), "-1.5");
        EXPECT_EQ(FieldText(dlg, IDC_PLANETVY), "0.5");
        EXPECT_EQ(FieldText(dlg, IDC_PLANETX), "10");
        EXPECT_EQ(FieldText(dlg, IDC_PLANETY), "20");
        EXPECT_EQ(s.m_Planets[0].m_dVx, 0.5);  // the record waits for the next store

        // A mass of 0 balances nothing: the velocity stays as typed.
        Type(dlg, IDC_MASS, "0");
        Type(dlg, IDC_PLANETVX, "2");
        Click(dlg, IDC_STABILIZE);
        EXPECT_EQ(FieldText(dlg, IDC_PLANETVX), "2");
        EXPECT_EQ(FieldText(dlg, IDC_PLANETVY), "0.5");

        Click(dlg, IDC_FIXED);
        EXPECT_TRUE(IsChecked(dlg, IDC_FIXED));
        EXPECT_EQ(FieldText(dlg, IDC_PLANETVX), "0");
        EXPECT_EQ(FieldText(dlg, IDC_PLANETVY), "0");
        Type(dlg, IDC_PLANETVX, "3");
        Click(dlg, IDC_FIXED);
        EXPECT_FALSE(IsChecked(dlg, IDC_FIXED));
        EXPECT_EQ(FieldText(dlg, IDC_PLANETVX), "3");
        Click(dlg, IDOK);
    });

    EXPECT_EQ(s.DoModal(), IDOK);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(s.m_Planets[0].m_dVx, 3.0);
    EXPECT_EQ(s.m_Planets[0].m_dVy, 0.0);
    EXPECT_EQ(s.m_Planets[0].m_dMass, 0.0);
    EXPECT_EQ(s.m_Planets[0].m_bFixed, 0);
    EXPECT_EQ(s.m_Planets[1].m_dVx, 3.0);
}

TEST(SystemEditor, PolynomialLawIsRefusedOtherLawsAreAccepted)
{
    DialogScript script;
    MessageBoxes boxes;
    CSystemDlg s;
    FillThree(s);

    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        Pick(dlg, IDC_FORCETYPE, 3);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].first, "Funzione non ancora realizzata");
        EXPECT_EQ(boxes.Shown()[0].second, 0u);
        EXPECT_EQ(Selected(dlg, IDC_FORCETYPE), 0);
        EXPECT_EQ(s.m_nForceType, 0);
        EXPECT_EQ(FieldText(dlg, IDC_FORCEPARAMS), "3");

        Pick(dlg, IDC_FORCETYPE, 2);
        EXPECT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(Selected(dlg, IDC_FORCETYPE), 2);
        EXPECT_EQ(s.m_nForceType, 2);
        Press(dlg, Qt::Key_Escape);
    });
    s.DoModal();
    EXPECT_EQ(s.m_nForceType, 2);
    EXPECT_EQ(s.m_strForceParams, "3");

    // An index the list does not have selects nothing and reads back as -1.
    s.m_nForceType = 7;
    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        EXPECT_EQ(Selected(dlg, IDC_FORCETYPE), -1);
        EXPECT_EQ(s.m_nForceType, -1);
        Press(dlg, Qt::Key_Escape);
    });
    s.DoModal();
    EXPECT_EQ(s.m_nForceType, -1);
}

TEST(SystemEditor, SystemFieldsAreKeptAsOfTheLastExchange)
{
    DialogScript script;
    MessageBoxes boxes;
    CSystemDlg s;
    FillThree(s);

    // Typed, then Escape with no exchange in between: nothing kept.
    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        Type(dlg, IDC_SYSTEMNAME, "Altro nome");
        Type(dlg, IDC_FORCEPARAMS, "2.5");
        Press(dlg, Qt::Key_Escape);
    });
    s.DoModal();
    EXPECT_EQ(s.m_strName, "Due pianeti");
    EXPECT_EQ(s.m_strForceParams, "3");

    // A handler exchanges: what was typed before it is kept, later typing is not.
    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        Type(dlg, IDC_SYSTEMNAME, "Altro nome");
        Type(dlg, IDC_FORCEPARAMS, "2.5");
        Click(dlg, IDC_FIXED);
        Type(dlg, IDC_FORCEPARAMS, "9");
        Press(dlg, Qt::Key_Escape);
    });
    s.DoModal();
    EXPECT_EQ(s.m_strName, "Altro nome");
    EXPECT_EQ(s.m_strForceParams, "2.5");

    // OK keeps everything.
    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        Type(dlg, IDC_SYSTEMNAME, "Terzo nome");
        Type(dlg, IDC_FORCEPARAMS, "4");
        Pick(dlg, IDC_FORCETYPE, 2);
        Type(dlg, IDC_PLANETY, "301");
        Click(dlg, IDOK);
    });
    EXPECT_EQ(s.DoModal(), IDOK);
    EXPECT_EQ(s.m_strName, "Terzo nome");
    EXPECT_EQ(s.m_strForceParams, "4");
    EXPECT_EQ(s.m_nForceType, 2);
    EXPECT_EQ(s.m_Planets[0].m_dY, 301.0);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(SystemEditor, RefusedNumberIsReportedTwiceOnOkAndKeepsTheLaterFields)
{
    DialogScript script;
    MessageBoxes boxes;
    CSystemDlg s;
    FillThree(s);

    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        Type(dlg, IDC_MASS, "6");            // before the refused field in the exchange
        Type(dlg, IDC_PLANETVX, "1.25");     // before
        Type(dlg, IDC_PLANETX, "abc");       // refused
        Type(dlg, IDC_PLANETY, "5");         // after
        Type(dlg, IDC_SYSTEMNAME, "Nuovo");  // after
        Click(dlg, IDOK);

        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Immettere un numero.", "Immettere un numero."}));
        EXPECT_TRUE(Window(dlg)->isVisible());
        EXPECT_EQ(Window(dlg)->focusWidget(), dlg.GetDlgItem(IDC_PLANETX));
        const CPlanet& p = s.m_Planets[0];
        EXPECT_EQ(p.m_dMass, 6.0);
        EXPECT_EQ(p.m_nSpriteX, 200);
        EXPECT_EQ(p.m_dVx, 1.25);
        EXPECT_EQ(p.m_dX, 400.0);
        EXPECT_EQ(p.m_dY, 300.0);
        EXPECT_EQ(s.m_strName, "Due pianeti");

        boxes.Clear();
        Type(dlg, IDC_PLANETX, "-2");
        Click(dlg, IDOK);
    });

    EXPECT_EQ(s.DoModal(), IDOK);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(s.m_Planets[0].m_dX, -2.0);
    EXPECT_EQ(s.m_Planets[0].m_dY, 5.0);
    EXPECT_EQ(s.m_strName, "Nuovo");
}

TEST(SystemEditor, AValueThatIsNotANumberFromTheFileIsKeptUntilRetyped)
{
    DialogScript script;
    MessageBoxes boxes;
    CSystemDlg s;
    s.m_strName = "Guasto";
    s.m_Planets.Add(MakePlanet("X", 1, 2, 0, 0, std::numeric_limits<double>::quiet_NaN()));

    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        EXPECT_EQ(FieldText(dlg, IDC_MASS), "nan");
        Press(dlg, Qt::Key_Escape);
    });
    s.DoModal();
    // Opening again reads nothing old back and asks nothing.
    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        EXPECT_TRUE(boxes.Shown().empty());
        Click(dlg, IDOK);
    });
    EXPECT_EQ(s.DoModal(), IDOK);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(std::isnan(s.m_Planets[0].m_dMass));

    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        Type(dlg, IDC_MASS, "3");
        Click(dlg, IDOK);
    });
    EXPECT_EQ(s.DoModal(), IDOK);
    EXPECT_EQ(s.m_Planets[0].m_dMass, 3.0);
    EXPECT_EQ(s.m_Planets[0].m_nSpriteX, 80);
    EXPECT_EQ(s.m_Planets[0].m_dX, 1.0);
}

TEST(SystemEditor, SystemWithoutPlanetsDisablesThePlanetFieldsUntilOneIsAdded)
{
    DialogScript script;
    MessageBoxes boxes;
    CSystemDlg s;
    s.m_strName = "Vuoto";

    const int planetFields[] = {IDC_PLANETNAME, IDC_PLANETX, IDC_PLANETY, IDC_PLANETVX, IDC_PLANETVY,
                                IDC_MASS,       IDC_FIXED,   IDC_STABILIZE, IDC_DELETEPLANET};
    auto expectEnabled = [&](CDialog& dlg, bool bEnabled) {
        for (int id : planetFields) EXPECT_EQ(dlg.GetDlgItem(id)->isEnabled(), bEnabled) << id;
    };

    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        expectEnabled(dlg, false);
        EXPECT_EQ(Fields(dlg), (QStringList{"", "", "", "", "", ""}));
        EXPECT_EQ(Selected(dlg, IDC_PLANETS), -1);
        // Nothing to delete or balance; the buttons are off, and so are the handlers.
        s.OnDeletePlanet();
        s.OnStabilize();
        s.OnFixed();
        Type(dlg, IDC_SYSTEMNAME, "Ancora vuoto");
        Click(dlg, IDOK);
    });
    EXPECT_EQ(s.DoModal(), IDOK);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(s.m_Planets.GetSize(), 0);
    EXPECT_EQ(s.m_strName, "Ancora vuoto");

    // Deleting the last planet, then adding one.
    s.m_Planets.Add(MakePlanet("Solo", 1, 2, 3, 4, 5));
    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        expectEnabled(dlg, true);
        boxes.Answer(IDYES);
        Click(dlg, IDC_DELETEPLANET);
        EXPECT_EQ(s.m_Planets.GetSize(), 0);
        EXPECT_TRUE(Lines(dlg, IDC_PLANETS).isEmpty());
        expectEnabled(dlg, false);
        EXPECT_EQ(Fields(dlg), (QStringList{"", "", "", "", "", ""}));
        EXPECT_FALSE(IsChecked(dlg, IDC_FIXED));

        Click(dlg, IDC_ADDPLANET);
        expectEnabled(dlg, true);
        EXPECT_EQ(Fields(dlg), (QStringList{"Nuovo pianeta", "0", "0", "0", "0", "1"}));
        Type(dlg, IDC_PLANETX, "12");
        Click(dlg, IDOK);
    });
    EXPECT_EQ(s.DoModal(), IDOK);
    ASSERT_EQ(s.m_Planets.GetSize(), 1);
    EXPECT_EQ(s.m_Planets[0].m_strName, "Nuovo pianeta");
    EXPECT_EQ(s.m_Planets[0].m_dX, 12.0);
    EXPECT_EQ(boxes.Shown().size(), 1u);  // the one confirmation
}
