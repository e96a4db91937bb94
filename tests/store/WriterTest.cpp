#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "StoreTestUtil.h"

namespace {
CSystemList WorkedExample()
{
    CSystemList list;
    list.SetSize(1);
    CSystemDlg& s = list[0];
    s.m_strName = "Due pianeti";
    s.m_nForceType = 1;
    s.m_strForceParams = "3";
    s.m_Planets.Add(MakePlanet("Sole", 400, 300, 0, 0, 10, 1));
    s.m_Planets.Add(MakePlanet("Terra", 400, 150, 8.5, 0, 1, 0));
    return list;
}
}  // namespace

TEST(Writer, WorkedExampleBytes)
{
    EXPECT_EQ(SaveBytes(WorkedExample()), ReadBytes(QV_TEST_DATA "/store_worked_example.ini"));
    CSystemList empty;
    EXPECT_EQ(SaveBytes(empty), "");
}

TEST(Writer, NumbersAndForceTypes)
{
    CSystemList list;
    list.SetSize(3);
    list[0].m_strName = "Numeri";
    list[0].m_nForceType = -1;
    list[0].m_strForceParams = "mai scritto";
    list[0].m_Planets.Add(MakePlanet("P", 0.1234567, 0.0000001, 1e20, -2.5, 9.5, 0));
    list[1].m_strName = "Cinque";
    list[1].m_nForceType = 5;
    list[1].m_strForceParams = "2,1,0,3";
    list[2].m_strName = "Zero";
    list[2].m_strForceParams = "nemmeno questo";
    EXPECT_EQ(SaveBytes(list),
              "[Numeri]\n-1\nP\n\t0.123457\t0.000000\t100000000000000000000.000000\t-2.500000\t9.500000\t0\n\n"
              "[Cinque]\n5\n2,1,0,3\n\n"
              "[Zero]\n0\n\n");

    CSystemList back;
    LoadBytes(SaveBytes(list), back);
    ASSERT_EQ(back.GetSize(), 3);
    EXPECT_EQ(back[0].m_nForceType, -1);
    EXPECT_EQ(back[0].m_strForceParams, "");
    const CPlanet& p = back[0].m_Planets[0];
    EXPECT_EQ(p.m_dX, 0.123457);
    EXPECT_EQ(p.m_dY, 0.0);
    EXPECT_EQ(p.m_dVx, 1e20);
    EXPECT_EQ(p.m_nSpriteX, 320);
    EXPECT_EQ(back[1].m_nForceType, 5);
    EXPECT_EQ(back[1].m_strForceParams, "2,1,0,3");
    EXPECT_EQ(back[2].m_strForceParams, "");
}

TEST(Writer, RoundTripKeepsEverySystemAndByte)
{
    CSystemList list;
    list.SetSize(3);
    list[0] = WorkedExample()[0];
    list[1].m_strName = CString(std::string("Nul\0lo \xe8 \xc3\xa8", 11));
    list[1].m_nForceType = 2;
    list[1].m_strForceParams = CString(std::string("0.\0" "1", 4));
    list[1].m_Planets.Add(MakePlanet("\xc9toile", -1.5, 2.25, 3, 4, 2, 1));
    list[1].m_Planets.Add(MakePlanet(std::string("a\0b", 3).c_str(), 1, 1, 1, 1, 1, 0));
    list[1].m_Planets[1].m_strName = CString(std::string("a\0b", 3));
    list[2].m_strName = "Due pianeti";  // same name, separate system

    std::string first = SaveBytes(list);
    CSystemList back;
    LoadBytes(first, back);
    ASSERT_EQ(back.GetSize(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back[i].m_strName.str(), list[i].m_strName.str());
        EXPECT_EQ(back[i].m_nForceType, list[i].m_nForceType);
        EXPECT_EQ(back[i].m_strForceParams.str(), list[i].m_strForceParams.str());
        ASSERT_EQ(back[i].m_Planets.GetSize(), list[i].m_Planets.GetSize());
        for (int k = 0; k < list[i].m_Planets.GetSize(); ++k) {
            const CPlanet& a = list[i].m_Planets[k];
            const CPlanet& b = back[i].m_Planets[k];
            EXPECT_EQ(b.m_strName.str(), a.m_strName.str());
            EXPECT_EQ(b.m_dX, a.m_dX);
            EXPECT_EQ(b.m_dVy, a.m_dVy);
            EXPECT_EQ(b.m_dMass, a.m_dMass);
            EXPECT_EQ(b.m_bFixed, a.m_bFixed);
            EXPECT_EQ(b.m_nSpriteX, a.m_nSpriteX);
        }
    }
    EXPECT_EQ(SaveBytes(back), first);
}

TEST(Writer, NonFiniteValuesComeBack)
{
    CSystemList list;
    list.SetSize(1);
    list[0].m_Planets.Add(MakePlanet("N", std::numeric_limits<double>::quiet_NaN(),
                                     std::numeric_limits<double>::infinity(),
                                     -std::numeric_limits<double>::infinity(), 1e300, 1, 0));
    CSystemList back;
    LoadBytes(SaveBytes(list), back);
    ASSERT_EQ(back[0].m_Planets.GetSize(), 1);
    EXPECT_TRUE(std::isnan(back[0].m_Planets[0].m_dX));
    EXPECT_EQ(back[0].m_Planets[0].m_dY, std::numeric_limits<double>::infinity());
    EXPECT_EQ(back[0].m_Planets[0].m_dVx, -std::numeric_limits<double>::infinity());
    EXPECT_EQ(back[0].m_Planets[0].m_dVy, 1e300);
}

TEST(Writer, NumbersIgnoreTheUserLocale)
{
    std::string saved = std::setlocale(LC_ALL, nullptr);
    const char* italian = nullptr;
    for (const char* name : {"it_IT.UTF-8", "it_IT.utf8", "it_IT"})
        if (std::setlocale(LC_ALL, name)) {
            italian = name;
            break;
        }
    if (!italian) {
        std::setlocale(LC_ALL, saved.c_str());
        GTEST_SKIP() << "no Italian locale installed";
    }
    std::string bytes = SaveBytes(WorkedExample());
    CSystemList back;
    LoadBytes(bytes, back);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_NE(bytes.find("\t300.000000\t"), std::string::npos);
    ASSERT_EQ(back.GetSize(), 1);
    EXPECT_EQ(back[0].m_Planets[1].m_dVx, 8.5);
}
