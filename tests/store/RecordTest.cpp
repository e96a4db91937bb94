#include <limits>

#include "StoreTestUtil.h"

TEST(Records, DefaultsAndSpriteOffsets)
{
    CPlanet p;
    EXPECT_EQ(Dump(p), " 0 0 0 0 1 0 0");
    EXPECT_EQ(p.m_dFx, 0.0);
    EXPECT_EQ(p.m_dFy, 0.0);
    EXPECT_EQ(Dump(CSystemDlg()), "[] 0 \n");

    // The sprite follows the truncated mass, within the sheet.
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const std::pair<double, int> rows[] = {{0.5, 0},  {1.0, 0},    {1.99, 0},  {2.0, 40}, {9.99, 320},
                                           {10, 360}, {1e12, 360}, {-3.0, 0}, {nan, 0},  {inf, 360}};
    for (auto [mass, offset] : rows) EXPECT_EQ(SpriteOffsetForMass(mass), offset) << mass;
}

TEST(Records, AssignmentCopiesPersistedPartOnly)
{
    CSystemDlg src;
    src.m_strName = "Due pianeti";
    src.m_strForceParams = "3";
    src.m_nForceType = 1;
    for (const char* name : {"Sole", "Terra", "Luna"}) src.m_Planets.Add(MakePlanet(name, 1, 2, 3, 4, 5));
    src.m_nCurrentPlanet = 2;
    src.m_dPlanetX = 99.0;

    CSystemDlg dst;
    dst.m_nCurrentPlanet = 7;
    dst.m_dPlanetMass = 5.0;
    dst.m_strPlanetName = "lavoro";
    dst.m_bPlanetFixed = 1;
    dst = src;
    EXPECT_EQ(Dump(dst), Dump(src));
    EXPECT_EQ(dst.m_nCurrentPlanet, 7);
    EXPECT_EQ(dst.m_dPlanetMass, 5.0);
    EXPECT_EQ(dst.m_strPlanetName, "lavoro");
    EXPECT_EQ(dst.m_bPlanetFixed, 1);
    EXPECT_EQ(dst.m_dPlanetX, 0.0);

    // The planets are copies.
    dst.m_Planets[0].m_strName = "Altro";
    dst.m_Planets[0].m_dMass = 4.0;
    EXPECT_EQ(Dump(src.m_Planets[0]), "Sole 1 2 3 4 5 0 160");

    dst = CSystemDlg();
    EXPECT_EQ(Dump(dst), "[] 0 \n");
}
