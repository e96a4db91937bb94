// Configuration files no editor writes: huge files and lines, NUL bytes, names
// in no known encoding, a million planets, headers without names, a FIFO.
// Loading takes them all and gives what the reader's tolerance rules say.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <cmath>

#include "tests/hostile/HostileSupport.h"

using namespace hostile;
using namespace std::string_literals;

namespace {

CSystemList Load(const std::string& path)
{
    CSystemList list;
    EXPECT_TRUE(LoadSystemsFromFile(path.c_str(), list));
    return list;
}

// Every text of a list, byte for byte, with its planet counts.
std::vector<std::string> Texts(const CSystemList& list)
{
    std::vector<std::string> out;
    for (int s = 0; s < list.GetSize(); ++s) {
        out.push_back(list[s].m_strName.str() + "|" + list[s].m_strForceParams.str() + "|" +
                      std::to_string(list[s].m_Planets.GetSize()));
        for (const CPlanet& p : list[s].m_Planets) out.push_back(p.m_strName.str());
    }
    return out;
}

// Saved and loaded again, every text comes back whole.
CSystemList ExpectRoundTrip(const CSystemList& list, const std::string& path)
{
    EXPECT_TRUE(SaveSystemsToFile(path.c_str(), list));
    CSystemList again = Load(path);
    EXPECT_TRUE(Texts(again) == Texts(list));  // not EXPECT_EQ: the texts run to megabytes
    return again;
}

std::vector<double> Values(const CPlanet& p)
{
    return {p.m_dX, p.m_dY, p.m_dVx, p.m_dVy, p.m_dMass, double(p.m_bFixed), double(p.m_nSpriteX)};
}

}  // namespace

TEST(HostileFiles, HundredMegabytesTensOfMegabytesLinesAndAMillionPlanets)
{
    TempDir dir;
    // 100 MB of lines outside any system, none of them a header.
    const size_t junk = (kSanitized ? 10u : 100u) << 20, n = (kSanitized ? 4u : 20u) << 20;
    const std::string line = "; nessun sistema qui, solo testo da saltare ]]] [non un'intestazione\n";
    std::string bytes;
    for (int i = 0; bytes.size() < junk; ++i) bytes += (i % 1000 == 999) ? " [spazio prima\n" : line;
    // A system whose lines run to tens of megabytes.
    const std::string name(n, 'N'), params(n, 'p'), planet(n, 'x');
    bytes += "[" + name + "]" + std::string(n, ']') + "\n"  // the name stops at the first "]"
             + std::string(n, ' ') + "1 e poi testo\n"      // blanks, then the force type
             + params + "\n" + planet + "\n\t1" + std::string(n, '0') + "\t0." + std::string(n, '0') + "1\t-2.5\t" +
             std::string(n, '7') + "\t3\t1\n\n";
    // A million planets; past the first only x is given, the other fields keep the previous planet's values.
    const int nPlanets = kSanitized ? 200000 : 1000000;
    bytes += "[Molti]\n0\n";
    char text[64];
    for (int i = 0; i < nPlanets; ++i) {
        std::snprintf(text, sizeof text, "p%d\n\t%d%s\n", i, i, i == 0 ? "\t-1\t0\t0\t9.5\t1" : "");
        bytes += text;
    }
    // A plain system after it all: the reader is still in step.
    WriteBytes(dir / "Quorvane.ini", bytes + "\n[Fine]\n0\nP\n\t1\t2\t3\t4\t5\t1\n\n");
    bytes = std::string();

    CSystemList list = Load(dir / "Quorvane.ini");
    ASSERT_EQ(list.GetSize(), 3);
    const CSystemDlg& big = list[0];
    EXPECT_TRUE(big.m_strName == name);
    EXPECT_EQ(big.m_nForceType, 1);
    EXPECT_TRUE(big.m_strForceParams == params);
    ASSERT_EQ(big.m_Planets.GetSize(), 1);
    EXPECT_TRUE(big.m_Planets[0].m_strName == planet);
    const std::vector<double> v = Values(big.m_Planets[0]);
    EXPECT_TRUE(std::isinf(v[0]) && v[0] > 0 && std::isinf(v[3]));
    EXPECT_EQ(std::vector<double>({v[1], v[2], v[4], v[5]}), std::vector<double>({0, -2.5, 3, 1}));
    ASSERT_EQ(list[1].m_Planets.GetSize(), nPlanets);
    EXPECT_EQ(Values(list[1].m_Planets[nPlanets - 1]), std::vector<double>({nPlanets - 1.0, -1, 0, 0, 9.5, 1, 320}));
    EXPECT_EQ(list[2].m_strName, "Fine");
    ASSERT_EQ(list[2].m_Planets.GetSize(), 1);
    EXPECT_EQ(Values(list[2].m_Planets[0]), std::vector<double>({1, 2, 3, 4, 5, 1, 160}));

    const CSystemList again = ExpectRoundTrip(list, dir / "Quorvane.ini");
    ASSERT_TRUE(again.GetSize() == 3 && again[1].m_Planets.GetSize() == nPlanets);
    EXPECT_EQ(again[1].m_Planets[nPlanets - 1].m_dX, nPlanets - 1.0);
}

TEST(HostileFiles, NulBytesInvalidUtf8AndWindows1252NamesKeepTheirBytes)
{
    TempDir dir;
    WriteBytes(dir / "Quorvane.ini",
               "[Nu\0lla]\n0\n"s
               "Pia\0neta\n\t1\t2\0\t3\t4\t5\t1\n"s  // the data line ends at its NUL
               "\xC9tna\n\t7\t8\n"s                  // Windows-1252 capital E acute: still a planet
               "\0dopo\n\t9\t9\t9\t9\t9\t0\n"s       // a NUL first ends the planet list
               "\n"
               "[\xFF\xFE\x80\xC3(\xE8]\n2\n\xA4 \x80 \0\n"s
               "\xE8 bello\n\t1\t1\t1\t1\t2\t0\n\n"s
               "[\0]\n0\n\n"s);

    CSystemList list = Load(dir / "Quorvane.ini");
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"Nu\0lla||2"s, "Pia\0neta"s, "\xC9tna",
                                                     "\xFF\xFE\x80\xC3(\xE8|\xA4 \x80 \0|1"s, "\xE8 bello", "\0||0"s}));
    ASSERT_EQ(list.GetSize(), 3);
    ASSERT_EQ(list[0].m_Planets.GetSize(), 2);
    EXPECT_EQ(Values(list[0].m_Planets[0]), std::vector<double>({1, 2, 0, 0, 1, 0, 0}));
    EXPECT_EQ(list[0].m_Planets[1].m_dX, 7.0);
    ExpectRoundTrip(list, dir / "copia.ini");
}

TEST(HostileFiles, HeadersWithoutNamesAndFilesThatAreNoFiles)
{
    TempDir dir;
    // "[" alone, "[]", and a "[" at the very end with nothing after it.
    WriteBytes(dir / "Quorvane.ini", "[\n0\n\n[]\n1\n\nP\n\t1\n\n[");
    CSystemList list = Load(dir / "Quorvane.ini");
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"||0", "||1", "P", "||0"}));
    ASSERT_EQ(list.GetSize(), 3);
    EXPECT_EQ(list[1].m_nForceType, 1);
    EXPECT_EQ(list[1].m_Planets[0].m_dX, 1.0);
    EXPECT_EQ(list[2].m_nForceType, 0);

    // Only headers: each one opens a system, the next ends its (empty) planet list.
    std::string headers;
    for (int i = 0; i < 100000; ++i) headers += "[\n";
    WriteBytes(dir / "Quorvane.ini", headers);
    EXPECT_EQ(Load(dir / "Quorvane.ini").GetSize(), 50000);

    // A folder, a FIFO that nobody writes to, or an endless device is no
    // configuration file: loading reports it as missing instead of waiting or
    // reading for ever. A link to a plain file is followed.
    ASSERT_EQ(::mkdir((dir / "cartella").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("/dev/zero", (dir / "zero").c_str()), 0);
    CSystemList none;
    for (const char* name : {"cartella", "fifo", "zero"})
        EXPECT_FALSE(LoadSystemsFromFile((dir / name).c_str(), none)) << name;
    EXPECT_EQ(none.GetSize(), 0);
    ASSERT_EQ(::symlink("Quorvane.ini", (dir / "collegamento").c_str()), 0);
    EXPECT_EQ(Load(dir / "collegamento").GetSize(), 50000);
}

TEST(HostileFiles, MainWindowListsManySystemsAndNamesOfAnyBytes)
{
    TempDir dir(true);
    // QV_HOSTILE_SYSTEMS sets the count, for trying a million by hand.
    const char* env = std::getenv("QV_HOSTILE_SYSTEMS");
    const int n = env ? std::atoi(env) : (kSanitized ? 5000 : 20000);
    std::string bytes = "[\xC9tna]\n0\n\n[a\0b]\n0\n\n[]\n0\n\n"s;
    for (int i = 3; i < n; ++i) bytes += "[S" + std::to_string(i) + "]\n0\n\n";
    WriteBytes("Quorvane.ini", bytes);

    CMainDlg dlg;
    EXPECT_TRUE(RunMainWindow(dlg, IDOK, [&](CDialog& d) {
                    EXPECT_EQ(dlg.m_cbSystems.GetCount(), n);
                    EXPECT_EQ(dlg.m_cbSystems.GetCurSel(), 0);
                    // The chooser takes C strings, so a name shows up to its NUL; the list keeps it whole.
                    const std::pair<int, std::string> rows[] = {
                        {0, "\xC9tna"}, {1, "a"}, {2, ""}, {n - 1, "S" + std::to_string(n - 1)}};
                    for (const auto& row : rows) {
                        CString text;
                        dlg.m_cbSystems.GetLBText(row.first, text);
                        EXPECT_EQ(text.str(), row.second) << row.first;
                    }
                    EXPECT_EQ(dlg.m_Systems[1].m_strName.str(), "a\0b"s);
                    // Opening the list and scrolling to its end must not stall.
                    QComboBox* combo = dlg.m_cbSystems.GetControl();
                    combo->showPopup();
                    QApplication::processEvents();
                    combo->view()->scrollToBottom();
                    QApplication::processEvents();
                    combo->hidePopup();
                    d.EndDialog(IDCANCEL);
                }).empty());
    EXPECT_EQ(dlg.m_Systems.GetSize(), n);
}
