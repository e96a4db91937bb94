// Names the file could not give back are adjusted when the editor stores them,
// so that a save and a load return exactly what the editor showed.
#include "../store/StoreTestUtil.h"
#include "DialogDriver.h"
#include "editor/NameRules.h"
#include "platform/Text.h"
#include "res/resource.h"

using namespace qvtest;

TEST(NameRules, AdjustsOnlyWhatTheFileCannotCarry)
{
    EXPECT_EQ(QvStorablePlanetName("Terra", 1), "Terra");
    EXPECT_EQ(QvStorablePlanetName("  Terra  ", 1), "Terra  ");
    EXPECT_EQ(QvStorablePlanetName("\t\x01[ [Luna]", 2), "Luna]");
    EXPECT_EQ(QvStorablePlanetName("Lu\r\nna", 2), "Luna");
    EXPECT_EQ(QvStorablePlanetName("", 3), "Pianeta 3");
    EXPECT_EQ(QvStorablePlanetName(" [ [\x1f", 12), "Pianeta 12");
    EXPECT_EQ(QvStorablePlanetName("\xc9toile", 1), "\xc9toile");  // a byte above 127 starts a name
    EXPECT_EQ(QvStorablePlanetName("Sole [grande]", 1), "Sole [grande]");

    EXPECT_EQ(QvStorableSystemName("Due pianeti"), "Due pianeti");
    EXPECT_EQ(QvStorableSystemName("Sistema [a]"), "Sistema [a");
    EXPECT_EQ(QvStorableSystemName("]]"), "");
    EXPECT_EQ(QvStorableSystemName(" a\r\nb "), " ab ");
    EXPECT_EQ(QvSingleLine("1.5\r\n2"), "1.52");
}

TEST(NameRules, WhatTheEditorShowsComesBackFromTheFile)
{
    DialogScript script;
    MessageBoxes boxes;
    CSystemList systems;
    systems.SetSize(1);
    CSystemDlg& s = systems[0];
    s.m_strName = "Prova";
    for (const char* name : {"Uno", "Due", "Tre"}) s.m_Planets.Add(MakePlanet(name, 0, 0, 0, 0, 1));

    QStringList shown;
    QString shownSystemName;
    script.On(IDD_SYSTEM, [&](CDialog& dlg) {
        Type(dlg, IDC_SYSTEMNAME, "Sistema [a] ]");
        Type(dlg, IDC_PLANETNAME, "  [Luna");
        Pick(dlg, IDC_PLANETS, 1);
        Type(dlg, IDC_PLANETNAME, "   ");
        Pick(dlg, IDC_PLANETS, 2);
        Type(dlg, IDC_PLANETNAME, QString::fromUtf8("Città ☉"));
        Click(dlg, IDC_ADDPLANET);
        Type(dlg, IDC_PLANETNAME, "[");
        Pick(dlg, IDC_PLANETS, 0);
        shown = Lines(dlg, IDC_PLANETS);
        Click(dlg, IDC_ADDPLANET);  // one more exchange shows the adjusted system name
        shownSystemName = FieldText(dlg, IDC_SYSTEMNAME);
        Press(dlg, Qt::Key_Escape);
    });
    s.DoModal();
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(shown, (QStringList{"Luna", "Pianeta 2", QString::fromUtf8("Città ☉"), "Pianeta 4"}));
    EXPECT_EQ(shownSystemName, "Sistema [a ");
    EXPECT_EQ(s.m_strName, "Sistema [a ");

    CSystemList loaded;
    LoadBytes(SaveBytes(systems), loaded);
    EXPECT_EQ(Dump(loaded), Dump(systems));
    ASSERT_EQ(loaded[0].m_Planets.GetSize(), 5);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(QvDisplayText(loaded[0].m_Planets[i].m_strName), shown.at(i)) << i;
    EXPECT_EQ(loaded[0].m_Planets[4].m_strName, "Nuovo pianeta");
}
