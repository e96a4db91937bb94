#include <clocale>
#include <limits>
#include <string>

#include "StoreTestUtil.h"

namespace {
void WorkedExample(CSystemDlg& s)
{
    s.m_strName = "Due pianeti";
    s.m_nForceType = 1;
    s.m_strForceParams = "3";
    s.m_Planets.Add(MakePlanet("Sole", 400, 300, 0, 0, 10, 1));
    s.m_Planets.Add(MakePlanet("Terra", 400, 150, 8.5, 0, 1));
}
}  // namespace

TEST(Writer, ExactBytes)
{
    CSystemList list;
    EXPECT_EQ(SaveBytes(list), "");
    list.SetSize(1);
    WorkedExample(list[0]);
    EXPECT_EQ(SaveBytes(list), ReadBytes(QV_TEST_DATA "/store_worked_example.ini"));

    // Six decimals; the parameter line only for a law above 0.
    list.SetSize(3);
    list[0].m_strName = "Numeri";
    list[0].m_nForceType = -1;
    list[0].m_strForceParams = "mai scritto";
    list[0].m_Planets.RemoveAll();
    list[0].m_Planets.Add(MakePlanet("P", 0.1234567, 0.0000001, 1e20, -2.5, 9.5));
    list[1].m_strName = "Cinque";
    list[1].m_nForceType = 5;
    list[1].m_strForceParams = "2,1,0,3";
    list[2].m_strName = "Zero";
    list[2].m_strForceParams = "nemmeno questo";
    const std::string bytes = SaveBytes(list);
    EXPECT_EQ(bytes, "[Numeri]\n-1\nP\n\t0.123457\t0.000000\t100000000000000000000.000000\t-2.500000\t9.500000\t0\n\n"
                     "[Cinque]\n5\n2,1,0,3\n\n"
                     "[Zero]\n0\n\n");
    CSystemList back;
    LoadBytes(bytes, back);
    EXPECT_EQ(Dump(back), "[Numeri] -1 \n P 0.123457 0 1e+20 -2.5 9.5 0 320\n[Cinque] 5 2,1,0,3\n[Zero] 0 \n");
}

TEST(Writer, RoundTripKeepsEverySystemAndByte)
{
    const double inf = std::numeric_limits<double>::infinity();
    CSystemList list;
    list.SetSize(4);
    WorkedExample(list[0]);
    list[1].m_strName = CString(std::string("Nul\0lo \xe8 \xc3\xa8", 11));
    list[1].m_nForceType = 2;
    list[1].m_strForceParams = CString(std::string("0.\0" "1", 4));
    list[1].m_Planets.Add(MakePlanet("\xc9toile", -1.5, 2.25, 3, 4, 2, 1));
    list[1].m_Planets.Add(MakePlanet("", 1, 1, 1, 1, 1));
    list[1].m_Planets[1].m_strName = CString(std::string("a\0b", 3));
    list[2].m_strName = "Due pianeti";  // same name, separate system
    list[3].m_Planets.Add(MakePlanet("N", std::numeric_limits<double>::quiet_NaN(), inf, -inf, 1e300, 1));

    const std::string first = SaveBytes(list);
    CSystemList back;
    LoadBytes(first, back);
    EXPECT_EQ(Dump(back), Dump(list));
    EXPECT_EQ(SaveBytes(back), first);
}

TEST(Writer, NumbersIgnoreTheUserLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "it_IT.UTF-8") && !std::setlocale(LC_ALL, "it_IT.utf8") && !std::setlocale(LC_ALL, "it_IT"))
        GTEST_SKIP() << "no Italian locale installed";
    CSystemList list, back;
    list.SetSize(1);
    WorkedExample(list[0]);
    const std::string bytes = SaveBytes(list);
    LoadBytes(bytes, back);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_NE(bytes.find("\t300.000000\t"), std::string::npos);
    EXPECT_EQ(Dump(back), Dump(list));
}
