#include <gtest/gtest.h>

#include "store/SystemDlg.h"

TEST(Records, DefaultsOfPlanetAndSystem)
{
    CPlanet p;
    EXPECT_TRUE(p.m_strName.IsEmpty());
    EXPECT_EQ(p.m_dX, 0.0);
    EXPECT_EQ(p.m_dY, 0.0);
    EXPECT_EQ(p.m_dVx, 0.0);
    EXPECT_EQ(p.m_dVy, 0.0);
    EXPECT_EQ(p.m_dMass, 1.0);
    EXPECT_EQ(p.m_dFx, 0.0);
    EXPECT_EQ(p.m_dFy, 0.0);
    EXPECT_EQ(p.m_nSpriteX, 0);
    EXPECT_EQ(p.m_bFixed, 0);

    CSystemDlg s;
    EXPECT_TRUE(s.m_strName.IsEmpty());
    EXPECT_TRUE(s.m_strForceParams.IsEmpty());
    EXPECT_EQ(s.m_nForceType, 0);
    EXPECT_EQ(s.m_Planets.GetSize(), 0);
}

TEST(Records, PlanetCopyIsIndependent)
{
    CPlanet a;
    a.m_strName = "Terra";
    a.m_dFx = 3.0;
    a.m_nSpriteX = 40;
    CPlanet b(a);
    b.m_strName = "Luna";
    EXPECT_EQ(a.m_strName, "Terra");
    EXPECT_EQ(b.m_dFx, 3.0);
    EXPECT_EQ(b.m_nSpriteX, 40);
}

TEST(Records, AssignmentCopiesPersistedPartOnly)
{
    CSystemDlg src;
    src.m_strName = "Due pianeti";
    src.m_strForceParams = "3";
    src.m_nForceType = 1;
    for (const char* name : {"Sole", "Terra", "Luna"}) {
        CPlanet p;
        p.m_strName = name;
        src.m_Planets.Add(p);
    }
    src.m_nCurrentPlanet = 2;
    src.m_dPlanetX = 99.0;

    CSystemDlg dst;
    dst.m_nCurrentPlanet = 7;
    dst.m_dPlanetMass = 5.0;
    dst.m_strPlanetName = "lavoro";
    dst.m_bPlanetFixed = 1;
    dst = src;
    EXPECT_EQ(dst.m_strName, "Due pianeti");
    EXPECT_EQ(dst.m_strForceParams, "3");
    EXPECT_EQ(dst.m_nForceType, 1);
    ASSERT_EQ(dst.m_Planets.GetSize(), 3);
    EXPECT_EQ(dst.m_Planets[0].m_strName, "Sole");
    EXPECT_EQ(dst.m_Planets[2].m_strName, "Luna");
    EXPECT_EQ(dst.m_nCurrentPlanet, 7);
    EXPECT_EQ(dst.m_dPlanetMass, 5.0);
    EXPECT_EQ(dst.m_strPlanetName, "lavoro");
    EXPECT_EQ(dst.m_bPlanetFixed, 1);
    EXPECT_EQ(dst.m_dPlanetX, 0.0);

    dst.m_Planets[0].m_strName = "Altro";
    dst.m_Planets[0].m_dMass = 4.0;
    EXPECT_EQ(src.m_Planets[0].m_strName, "Sole");
    EXPECT_EQ(src.m_Planets[0].m_dMass, 1.0);

    CSystemDlg empty;
    dst = empty;
    EXPECT_EQ(dst.m_Planets.GetSize(), 0);
    EXPECT_TRUE(dst.m_strName.IsEmpty());
}
