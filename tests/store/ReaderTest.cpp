#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "StoreTestUtil.h"

namespace {
void ExpectPlanet(const CPlanet& p, const char* name, double x, double y, double vx, double vy, double mass,
                  int fixed)
{
    EXPECT_EQ(p.m_strName, name);
    EXPECT_EQ(p.m_dX, x) << name;
    EXPECT_EQ(p.m_dY, y) << name;
    EXPECT_EQ(p.m_dVx, vx) << name;
    EXPECT_EQ(p.m_dVy, vy) << name;
    EXPECT_EQ(p.m_dMass, mass) << name;
    EXPECT_EQ(p.m_bFixed, fixed) << name;
    EXPECT_EQ(p.m_nSpriteX, SpriteOffsetForMass(mass)) << name;
    EXPECT_EQ(p.m_dFx, 0.0) << name;
    EXPECT_EQ(p.m_dFy, 0.0) << name;
}
}  // namespace

TEST(Reader, WorkedExample)
{
    CSystemList systems;
    ASSERT_TRUE(LoadSystemsFromFile(QV_TEST_DATA "/store_worked_example.ini", systems));
    ASSERT_EQ(systems.GetSize(), 1);
    EXPECT_EQ(systems[0].m_strName, "Due pianeti");
    EXPECT_EQ(systems[0].m_nForceType, 1);
    EXPECT_EQ(systems[0].m_strForceParams, "3");
    ASSERT_EQ(systems[0].m_Planets.GetSize(), 2);
    ExpectPlanet(systems[0].m_Planets[0], "Sole", 400, 300, 0, 0, 10, 1);
    ExpectPlanet(systems[0].m_Planets[1], "Terra", 400, 150, 8.5, 0, 1, 0);
    EXPECT_EQ(systems[0].m_Planets[0].m_nSpriteX, 360);
}

// CR LF lines, text around systems, a header without "]", blanks in a data
// line, short data lines, a header right after a data line, no final newline.
TEST(Reader, ToleratesHandWrittenFile)
{
    CSystemList systems;
    int added = 0;
    ASSERT_TRUE(LoadSystemsFromFile(QV_TEST_DATA "/store_tolerant.ini", systems,
                                    [&](const CSystemDlg& s) { EXPECT_EQ(&s, &systems[added++]); }));
    EXPECT_EQ(added, 3);
    ASSERT_EQ(systems.GetSize(), 3);

    EXPECT_EQ(systems[0].m_strName, "Prova");
    EXPECT_EQ(systems[0].m_nForceType, 2);
    EXPECT_EQ(systems[0].m_strForceParams, "0.5");
    ASSERT_EQ(systems[0].m_Planets.GetSize(), 3);
    ExpectPlanet(systems[0].m_Planets[0], "Alfa", 100, -3.5, 4, 5, 2.5, 1);
    ExpectPlanet(systems[0].m_Planets[1], "Beta", 7, 8, 4, 5, 2.5, 1);  // the rest from Alfa
    ExpectPlanet(systems[0].m_Planets[2], "\xc9ta", -1, -2, -3, -4, 0.5, 0);

    EXPECT_EQ(systems[1].m_strName, "Senza fine");
    EXPECT_EQ(systems[1].m_nForceType, 0);
    EXPECT_TRUE(systems[1].m_strForceParams.IsEmpty());
    ASSERT_EQ(systems[1].m_Planets.GetSize(), 1);
    ExpectPlanet(systems[1].m_Planets[0], "Gamma", 1, 2, 3, 4, 9.5, 0);
    EXPECT_EQ(systems[1].m_Planets[0].m_nSpriteX, 320);

    EXPECT_EQ(systems[2].m_strName, "Subito dopo");
    EXPECT_EQ(systems[2].m_nForceType, -1);
    EXPECT_TRUE(systems[2].m_strForceParams.IsEmpty());
    ASSERT_EQ(systems[2].m_Planets.GetSize(), 1);
    ExpectPlanet(systems[2].m_Planets[0], "Delta", 0, 0, 0, 0, 1, 0);  // no data line at the end
}

TEST(Reader, HeaderVariants)
{
    CSystemList systems;
    LoadBytes("[Sole\n0\n\n[Sole] e altro\n0\n\n[]\n0\n\n[a]b]\n0\n\n", systems);
    ASSERT_EQ(systems.GetSize(), 4);
    EXPECT_EQ(systems[0].m_strName, "Sole");
    EXPECT_EQ(systems[1].m_strName, "Sole");
    EXPECT_EQ(systems[2].m_strName, "");
    EXPECT_EQ(systems[3].m_strName, "a");

    CSystemList none;
    LoadBytes("", none);
    EXPECT_EQ(none.GetSize(), 0);
    LoadBytes("\n\n  \n\r\n", none);
    EXPECT_EQ(none.GetSize(), 0);
}

TEST(Reader, ForceLawLineFollowsAtoiAndNeverOverflows)
{
    CSystemList systems;
    LoadBytes("[A]\n2abc\nP\n\n[B]\n \t1\n\n\n[C]\nx\nNome\n\t1\t2\t3\t4\t5\t0\n\n"
              "[D]\n99999999999999999999\nparam\n\n[E]\n-99999999999999999999\n\n[F]\n+3 \n7,1,2\n\n",
              systems);
    ASSERT_EQ(systems.GetSize(), 6);
    EXPECT_EQ(systems[0].m_nForceType, 2);
    EXPECT_EQ(systems[0].m_strForceParams, "P");
    EXPECT_EQ(systems[1].m_nForceType, 1);
    EXPECT_EQ(systems[1].m_strForceParams, "");  // an empty parameter line is still the parameter line
    EXPECT_EQ(systems[1].m_Planets.GetSize(), 0);
    EXPECT_EQ(systems[2].m_nForceType, 0);
    EXPECT_EQ(systems[2].m_strForceParams, "");  // index 0: the next line is the first planet
    ASSERT_EQ(systems[2].m_Planets.GetSize(), 1);
    EXPECT_EQ(systems[2].m_Planets[0].m_strName, "Nome");
    EXPECT_EQ(systems[3].m_nForceType, INT_MAX);
    EXPECT_EQ(systems[3].m_strForceParams, "param");
    EXPECT_EQ(systems[4].m_nForceType, INT_MIN);
    EXPECT_EQ(systems[5].m_nForceType, 3);
    EXPECT_EQ(systems[5].m_strForceParams, "7,1,2");
}

TEST(Reader, ParameterLineIsTakenWholeEvenWhenItLooksLikeAHeader)
{
    CSystemList systems;
    LoadBytes("[A]\n1\n[non un sistema]\nP\n\t1\t1\t1\t1\t1\t0\n\n[B]\n0\n\n", systems);
    ASSERT_EQ(systems.GetSize(), 2);
    EXPECT_EQ(systems[0].m_strForceParams, "[non un sistema]");
    EXPECT_EQ(systems[0].m_Planets.GetSize(), 1);
    EXPECT_EQ(systems[1].m_strName, "B");
}

TEST(Reader, LinesThatEndThePlanetList)
{
    for (const char* stopper : {" Luna", "\tLuna", "\x01Luna", ""}) {
        CSystemList systems;
        LoadBytes(std::string("[S]\n0\nSole\n\t1\t2\t3\t4\t5\t1\n") + stopper + "\n\t9\t9\t9\t9\t9\t0\nX\n\t1\t1\t1\t1\t1\t1\n\n",
                  systems);
        ASSERT_EQ(systems.GetSize(), 1) << stopper;
        EXPECT_EQ(systems[0].m_Planets.GetSize(), 1) << stopper;
    }
    // A header right after a data line, or right after the force-law line, opens the next system.
    CSystemList systems;
    LoadBytes("[A]\n0\nSole\n\t1\t2\t3\t4\t5\t1\n[B]\n0\n[C]\n1\np\nTerra\n\t1\t1\t1\t1\t1\t0\n", systems);
    ASSERT_EQ(systems.GetSize(), 3);
    EXPECT_EQ(systems[0].m_Planets.GetSize(), 1);
    EXPECT_EQ(systems[1].m_strName, "B");
    EXPECT_EQ(systems[1].m_Planets.GetSize(), 0);
    EXPECT_EQ(systems[2].m_strName, "C");
    EXPECT_EQ(systems[2].m_strForceParams, "p");
    EXPECT_EQ(systems[2].m_Planets.GetSize(), 1);
}

TEST(Reader, FailedReadEmptiesPlanetsOnly)
{
    TempDir dir;
    WriteBytes(dir / "f.ini", "solo testo\n");
    CStdioFile file((dir / "f.ini").c_str(), CStdioFile::modeRead);
    CSystemDlg s;
    s.m_strName = "Vecchio";
    s.m_nForceType = 2;
    s.m_strForceParams = "4";
    s.m_Planets.Add(CPlanet());
    EXPECT_FALSE(s.ReadFromFile(file));
    EXPECT_EQ(s.m_Planets.GetSize(), 0);
    EXPECT_EQ(s.m_strName, "Vecchio");
    EXPECT_EQ(s.m_nForceType, 2);
    EXPECT_EQ(s.m_strForceParams, "4");
}

TEST(Reader, HostileBytes)
{
    // NUL bytes stay part of names; an out-of-range fixed flag is limited, not undefined.
    std::string nulName("Lu\0na", 5);
    CSystemList systems;
    LoadBytes(std::string("[Si\0s]\n0\n", 9) + nulName + "\n\t1\t2\t3\t4\t5\t99999999999999999999\nB\n\t1\t2\t3\t4\t5\t-7e\n\n",
              systems);
    ASSERT_EQ(systems.GetSize(), 1);
    EXPECT_EQ(systems[0].m_strName.str(), std::string("Si\0s", 4));
    ASSERT_EQ(systems[0].m_Planets.GetSize(), 2);
    EXPECT_EQ(systems[0].m_Planets[0].m_strName.str(), nulName);
    EXPECT_EQ(systems[0].m_Planets[0].m_bFixed, INT_MAX);
    EXPECT_EQ(systems[0].m_Planets[1].m_bFixed, -7);

    // A name line of several megabytes and a data line of as many blanks.
    std::string longName(8 << 20, 'x');
    std::string blanks(8 << 20, ' ');
    CSystemList big;
    LoadBytes("[L]\n0\n" + longName + "\n" + blanks + "3\t4\n\n", big);
    ASSERT_EQ(big.GetSize(), 1);
    ASSERT_EQ(big[0].m_Planets.GetSize(), 1);
    EXPECT_EQ(big[0].m_Planets[0].m_strName.GetLength(), 8 << 20);
    EXPECT_EQ(big[0].m_Planets[0].m_dX, 3.0);
    EXPECT_EQ(big[0].m_Planets[0].m_dY, 4.0);
}

TEST(Reader, LoadFailsOnlyWhenTheFileCannotBeOpened)
{
    TempDir dir;
    CSystemList systems;
    EXPECT_FALSE(LoadSystemsFromFile((dir / "manca.ini").c_str(), systems));
    EXPECT_FALSE(LoadSystemsFromFile(dir.path().c_str(), systems));  // a folder
    WriteBytes(dir / "vuoto.ini", "");
    EXPECT_TRUE(LoadSystemsFromFile((dir / "vuoto.ini").c_str(), systems));
    EXPECT_EQ(systems.GetSize(), 0);
}
