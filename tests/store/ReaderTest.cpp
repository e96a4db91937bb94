#include <string>

#include "StoreTestUtil.h"

using namespace std::string_literals;

TEST(Reader, FilesOnDisk)
{
    CSystemList systems;
    ASSERT_TRUE(LoadSystemsFromFile(QV_TEST_DATA "/store_worked_example.ini", systems));
    EXPECT_EQ(Dump(systems), "[Due pianeti] 1 3\n Sole 400 300 0 0 10 1 360\n Terra 400 150 8.5 0 1 0 0\n");

    // CR LF lines, text around systems, a header without "]", blanks in a data line,
    // short data lines (the rest from the planet before), a header right after a
    // data line, no final newline; each system is reported as it is added.
    CSystemList tolerant, none;
    int added = 0;
    ASSERT_TRUE(LoadSystemsFromFile(QV_TEST_DATA "/store_tolerant.ini", tolerant,
                                    [&](const CSystemDlg& s) { EXPECT_EQ(&s, &tolerant[added++]); }));
    EXPECT_EQ(added, 3);
    EXPECT_EQ(Dump(tolerant),
              "[Prova] 2 0.5\n Alfa 100 -3.5 4 5 2.5 1 40\n Beta 7 8 4 5 2.5 1 40\n \xc9ta -1 -2 -3 -4 0.5 0 0\n"
              "[Senza fine] 0 \n Gamma 1 2 3 4 9.5 0 320\n"
              "[Subito dopo] -1 \n Delta 0 0 0 0 1 0 0\n");

    // Loading fails only when the file cannot be opened.
    TempDir dir;
    EXPECT_FALSE(LoadSystemsFromFile((dir / "manca.ini").c_str(), none));
    EXPECT_FALSE(LoadSystemsFromFile(dir.path().c_str(), none));  // a folder
    WriteBytes(dir / "vuoto.ini", "");
    EXPECT_TRUE(LoadSystemsFromFile((dir / "vuoto.ini").c_str(), none));
    EXPECT_EQ(none.GetSize(), 0);
}

TEST(Reader, BytesToSystems)
{
    const std::string sole = "[S]\n0\nSole\n\t1\t2\t3\t4\t5\t1\n", rest = "\n\t9\t9\t9\t9\t9\t0\nX\n\t1\t1\t1\t1\t1\t1\n\n";
    const std::string soleOnly = "[S] 0 \n Sole 1 2 3 4 5 1 160\n";
    const std::pair<std::string, std::string> rows[] = {
        {"", ""},
        {"\n\n  \n\r\n", ""},
        {"[Sole\n0\n\n[Sole] e altro\n0\n\n[]\n0\n\n[a]b]\n0\n\n", "[Sole] 0 \n[Sole] 0 \n[] 0 \n[a] 0 \n"},
        // The law line is read as atoi would, limited to the int range; an empty
        // parameter line is still the parameter line; law 0 has none.
        {"[A]\n2abc\nP\n\n[B]\n \t1\n\n\n[C]\nx\nNome\n\t1\t2\t3\t4\t5\t0\n\n[D]\n99999999999999999999\nparam\n\n"
         "[E]\n-99999999999999999999\n\n[F]\n+3 \n7,1,2\n\n",
         "[A] 2 P\n[B] 1 \n[C] 0 \n Nome 1 2 3 4 5 0 160\n[D] 2147483647 param\n[E] -2147483648 \n[F] 3 7,1,2\n"},
        // The parameter line is taken whole even when it looks like a header.
        {"[A]\n1\n[non un sistema]\nP\n\t1\t1\t1\t1\t1\t0\n\n[B]\n0\n\n", "[A] 1 [non un sistema]\n P 1 1 1 1 1 0 0\n[B] 0 \n"},
        // Lines that end the planet list.
        {sole + " Luna" + rest, soleOnly},
        {sole + "\tLuna" + rest, soleOnly},
        {sole + "\x01Luna" + rest, soleOnly},
        {sole + rest, soleOnly},
        // A header right after a data line, or right after the law line, opens the next system.
        {"[A]\n0\nSole\n\t1\t2\t3\t4\t5\t1\n[B]\n0\n[C]\n1\np\nTerra\n\t1\t1\t1\t1\t1\t0\n",
         "[A] 0 \n Sole 1 2 3 4 5 1 160\n[B] 0 \n[C] 1 p\n Terra 1 1 1 1 1 0 0\n"},
        // NUL bytes stay part of names; an out-of-range fixed flag is limited, not undefined.
        {"[Si\0s]\n0\nLu\0na\n\t1\t2\t3\t4\t5\t99999999999999999999\nB\n\t1\t2\t3\t4\t5\t-7e\n\n"s,
         "[Si\0s] 0 \n Lu\0na 1 2 3 4 5 2147483647 160\n B 1 2 3 4 5 -7 160\n"s},
    };
    for (const auto& [bytes, expected] : rows) {
        CSystemList systems;
        LoadBytes(bytes, systems);
        EXPECT_EQ(Dump(systems), expected) << bytes;
    }

    // A name line of several megabytes and a data line of as many blanks.
    CSystemList big;
    LoadBytes("[L]\n0\n" + std::string(8 << 20, 'x') + "\n" + std::string(8 << 20, ' ') + "3\t4\n\n", big);
    ASSERT_EQ(big.GetSize(), 1);
    ASSERT_EQ(big[0].m_Planets.GetSize(), 1);
    EXPECT_EQ(big[0].m_Planets[0].m_strName.GetLength(), 8 << 20);
    EXPECT_EQ(big[0].m_Planets[0].m_dX, 3.0);
    EXPECT_EQ(big[0].m_Planets[0].m_dY, 4.0);
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
    EXPECT_EQ(Dump(s), "[Vecchio] 2 4\n");
}
