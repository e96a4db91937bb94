// Configuration files no editor writes: huge files and lines, NUL bytes, names
// in no known encoding, a million planets, headers without names, a FIFO.
// Loading takes them all and gives what the reader's tolerance rules say.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <chrono>
#include <cmath>
#include <sys/stat.h>

#include "app/MainDlg.h"
#include "res/resource.h"
#include "tests/hostile/HostileSupport.h"

using namespace hostile;

namespace {

CSystemList Load(const std::string& path)
{
    CSystemList list;
    EXPECT_TRUE(LoadSystemsFromFile(path.c_str(), list));
    return list;
}

const char* const kTail = "[Fine]\n0\nP\n\t1\t2\t3\t4\t5\t1\n\n";

void ExpectTail(const CSystemDlg& sys)
{
    EXPECT_EQ(sys.m_strName, "Fine");
    ASSERT_EQ(sys.m_Planets.GetSize(), 1);
    EXPECT_EQ(sys.m_Planets[0].m_dX, 1.0);
    EXPECT_EQ(sys.m_Planets[0].m_dMass, 5.0);
    EXPECT_EQ(sys.m_Planets[0].m_nSpriteX, 160);
}

}  // namespace

TEST(HostileFiles, HundredMegabytesOfLinesOutsideAnySystem)
{
    TempDir dir;
    const size_t target = (kSanitized ? 10u : 100u) << 20;
    const std::string line = "; nessun sistema qui, solo testo da saltare ]]] [non un'intestazione\n";
    std::string bytes;
    bytes.reserve(target + 100);
    for (int i = 0; bytes.size() < target; ++i) bytes += (i % 1000 == 999) ? " [spazio prima\n" : line;
    bytes += kTail;
    WriteBytes(dir / "Quorvane.ini", bytes);
    bytes = std::string();

    CSystemList list = Load(dir / "Quorvane.ini");
    ASSERT_EQ(list.GetSize(), 1);
    ExpectTail(list[0]);
}

TEST(HostileFiles, LinesOfTensOfMegabytes)
{
    TempDir dir;
    const size_t n = (kSanitized ? 4u : 20u) << 20;
    const std::string name(n, 'N'), params(n, 'p'), planet(n, 'x');
    std::string bytes = "[" + name + "]" + std::string(n, ']') + "\n";  // the name stops at the first "]"
    bytes += std::string(n, ' ') + "1 e poi testo\n";                     // blanks, then the force type
    bytes += params + "\n";
    bytes += planet + "\n";
    bytes += "\t1" + std::string(n, '0') + "\t0." + std::string(n, '0') + "1\t-2.5\t" + std::string(n, '7') + "\t3\t1\n";
    bytes += "\n";
    bytes += kTail;
    WriteBytes(dir / "Quorvane.ini", bytes);
    bytes = std::string();

    CSystemList list = Load(dir / "Quorvane.ini");
    ASSERT_EQ(list.GetSize(), 2);
    const CSystemDlg& big = list[0];
    EXPECT_TRUE(big.m_strName == name);
    EXPECT_EQ(big.m_nForceType, 1);
    EXPECT_TRUE(big.m_strForceParams == params);
    ASSERT_EQ(big.m_Planets.GetSize(), 1);
    const CPlanet& p = big.m_Planets[0];
    EXPECT_TRUE(p.m_strName == planet);
    EXPECT_TRUE(std::isinf(p.m_dX) && p.m_dX > 0);
    EXPECT_EQ(p.m_dY, 0.0);
    EXPECT_EQ(p.m_dVx, -2.5);
    EXPECT_TRUE(std::isinf(p.m_dVy));
    EXPECT_EQ(p.m_dMass, 3.0);
    EXPECT_EQ(p.m_bFixed, 1);
    ExpectTail(list[1]);

    // Saved and loaded again, the long texts come back whole.
    ASSERT_TRUE(SaveSystemsToFile((dir / "Quorvane.ini").c_str(), list));
    CSystemList again = Load(dir / "Quorvane.ini");
    ASSERT_EQ(again.GetSize(), 2);
    EXPECT_TRUE(again[0].m_strName == name);
    EXPECT_TRUE(again[0].m_strForceParams == params);
    EXPECT_TRUE(again[0].m_Planets[0].m_strName == planet);
}

TEST(HostileFiles, NulBytesInvalidUtf8AndWindows1252NamesKeepTheirBytes)
{
    TempDir dir;
    using namespace std::string_literals;
    const std::string bytes =
        "[Nu\0lla]\n0\n"s
        "Pia\0neta\n\t1\t2\0\t3\t4\t5\t1\n"s  // the data line ends at its NUL
        "\xC9tna\n\t7\t8\n"s                  // Windows-1252 capital E acute: still a planet
        "\0dopo\n\t9\t9\t9\t9\t9\t0\n"s       // a NUL first ends the planet list
        "\n"
        "[\xFF\xFE\x80\xC3(\xE8]\n2\n\xA4 \x80 \0\n"s
        "\xE8 bello\n\t1\t1\t1\t1\t2\t0\n\n"s
        "[\0]\n0\n\n"s;
    WriteBytes(dir / "Quorvane.ini", bytes);

    CSystemList list = Load(dir / "Quorvane.ini");
    ASSERT_EQ(list.GetSize(), 3);
    EXPECT_EQ(list[0].m_strName.str(), "Nu\0lla"s);
    ASSERT_EQ(list[0].m_Planets.GetSize(), 2);
    const CPlanet& p = list[0].m_Planets[0];
    EXPECT_EQ(p.m_strName.str(), "Pia\0neta"s);
    EXPECT_EQ(p.m_dX, 1.0);
    EXPECT_EQ(p.m_dY, 2.0);
    EXPECT_EQ(p.m_dVx, 0.0);
    EXPECT_EQ(p.m_dMass, 1.0);
    EXPECT_EQ(p.m_bFixed, 0);
    EXPECT_EQ(list[0].m_Planets[1].m_strName.str(), "\xC9tna");
    EXPECT_EQ(list[0].m_Planets[1].m_dX, 7.0);
    EXPECT_EQ(list[1].m_strName.str(), "\xFF\xFE\x80\xC3(\xE8");
    EXPECT_EQ(list[1].m_strForceParams.str(), "\xA4 \x80 \0"s);
    ASSERT_EQ(list[1].m_Planets.GetSize(), 1);
    EXPECT_EQ(list[1].m_Planets[0].m_strName.str(), "\xE8 bello");
    EXPECT_EQ(list[2].m_strName.str(), "\0"s);

    // Written back byte for byte.
    ASSERT_TRUE(SaveSystemsToFile((dir / "copia.ini").c_str(), list));
    CSystemList again = Load(dir / "copia.ini");
    ASSERT_EQ(again.GetSize(), 3);
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(again[s].m_strName, list[s].m_strName);
        EXPECT_EQ(again[s].m_strForceParams, list[s].m_strForceParams);
        ASSERT_EQ(again[s].m_Planets.GetSize(), list[s].m_Planets.GetSize());
        for (int i = 0; i < list[s].m_Planets.GetSize(); ++i)
            EXPECT_EQ(again[s].m_Planets[i].m_strName, list[s].m_Planets[i].m_strName);
    }
}

TEST(HostileFiles, AMillionPlanetsInOneSystem)
{
    TempDir dir;
    const int n = kSanitized ? 200000 : 1000000;
    std::string bytes = "[Molti]\n0\n";
    char line[64];
    for (int i = 0; i < n; ++i) {
        // Only x is given: the other fields keep the previous planet's values.
        std::snprintf(line, sizeof line, "p%d\n\t%d%s\n", i, i, i == 0 ? "\t-1\t0\t0\t9.5\t1" : "");
        bytes += line;
    }
    bytes += "\n";
    bytes += kTail;
    WriteBytes(dir / "Quorvane.ini", bytes);
    bytes = std::string();

    CSystemList list = Load(dir / "Quorvane.ini");
    ASSERT_EQ(list.GetSize(), 2);
    ASSERT_EQ(list[0].m_Planets.GetSize(), n);
    const CPlanet& last = list[0].m_Planets[n - 1];
    EXPECT_EQ(last.m_dX, n - 1.0);
    EXPECT_EQ(last.m_dY, -1.0);
    EXPECT_EQ(last.m_dMass, 9.5);
    EXPECT_EQ(last.m_bFixed, 1);
    EXPECT_EQ(last.m_nSpriteX, 320);
    ExpectTail(list[1]);

    ASSERT_TRUE(SaveSystemsToFile((dir / "Quorvane.ini").c_str(), list));
    CSystemList again = Load(dir / "Quorvane.ini");
    ASSERT_EQ(again.GetSize(), 2);
    ASSERT_EQ(again[0].m_Planets.GetSize(), n);
    EXPECT_EQ(again[0].m_Planets[n - 1].m_strName, last.m_strName);
    EXPECT_EQ(again[0].m_Planets[n - 1].m_dX, n - 1.0);
}

TEST(HostileFiles, HeadersWithoutNamesAndFilesThatAreNoFiles)
{
    TempDir dir;
    // "[" alone, "[]", and a "[" at the very end with nothing after it.
    WriteBytes(dir / "Quorvane.ini", "[\n0\n\n[]\n1\n\nP\n\t1\n\n[");
    CSystemList list = Load(dir / "Quorvane.ini");
    ASSERT_EQ(list.GetSize(), 3);
    for (int s = 0; s < 3; ++s) EXPECT_EQ(list[s].m_strName, "");
    EXPECT_EQ(list[0].m_Planets.GetSize(), 0);
    EXPECT_EQ(list[1].m_nForceType, 1);
    EXPECT_EQ(list[1].m_strForceParams, "");
    ASSERT_EQ(list[1].m_Planets.GetSize(), 1);
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
    CSystemList none;
    ASSERT_EQ(::mkdir((dir / "cartella").c_str(), 0755), 0);
    EXPECT_FALSE(LoadSystemsFromFile((dir / "cartella").c_str(), none));
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    EXPECT_FALSE(LoadSystemsFromFile((dir / "fifo").c_str(), none));
    ASSERT_EQ(::symlink("/dev/zero", (dir / "zero").c_str()), 0);
    EXPECT_FALSE(LoadSystemsFromFile((dir / "zero").c_str(), none));
    EXPECT_EQ(none.GetSize(), 0);
    ASSERT_EQ(::symlink("Quorvane.ini", (dir / "collegamento").c_str()), 0);
    EXPECT_EQ(Load(dir / "collegamento").GetSize(), 50000);
}

TEST(HostileFiles, MainWindowListsManySystemsAndNamesOfAnyBytes)
{
    TempDir dir;
    WorkingDir cwd(dir.Path());
    // QV_HOSTILE_SYSTEMS sets the count, for trying a million by hand.
    const char* env = std::getenv("QV_HOSTILE_SYSTEMS");
    const int n = env ? std::atoi(env) : (kSanitized ? 5000 : 20000);
    std::string bytes = std::string("[\xC9tna]\n0\n\n[a") + '\0' + "b]\n0\n\n[]\n0\n\n";
    for (int i = 3; i < n; ++i) bytes += "[S" + std::to_string(i) + "]\n0\n\n";
    WriteBytes("Quorvane.ini", bytes);

    std::vector<std::string> boxes;
    QvSetMessageBoxHook([&](const CString& text, UINT) {
        boxes.push_back(text.str());
        return IDOK;
    });
    CMainDlg dlg;
    double loadSeconds = 0, popupSeconds = 0;
    const auto start = std::chrono::steady_clock::now();
    QvSetDialogOpenedHook([&](CDialog& d) {
        loadSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ(dlg.m_cbSystems.GetCount(), n);
        EXPECT_EQ(dlg.m_cbSystems.GetCurSel(), 0);
        CString text;
        dlg.m_cbSystems.GetLBText(0, text);
        EXPECT_EQ(text.str(), "\xC9tna");
        // The chooser takes C strings, so a name shows up to its NUL; the list keeps it whole.
        dlg.m_cbSystems.GetLBText(1, text);
        EXPECT_EQ(text.str(), "a");
        EXPECT_EQ(dlg.m_Systems[1].m_strName.str(), std::string("a") + '\0' + "b");
        dlg.m_cbSystems.GetLBText(2, text);
        EXPECT_EQ(text.str(), "");
        dlg.m_cbSystems.GetLBText(n - 1, text);
        EXPECT_EQ(text.str(), "S" + std::to_string(n - 1));
        // Opening the list and choosing the last line, timed for the report.
        const auto open = std::chrono::steady_clock::now();
        QComboBox* combo = dlg.m_cbSystems.GetControl();
        combo->showPopup();
        QApplication::processEvents();
        combo->view()->scrollToBottom();
        QApplication::processEvents();
        combo->hidePopup();
        popupSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - open).count();
        d.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    QvSetDialogOpenedHook(nullptr);
    QvSetMessageBoxHook(nullptr);
    std::printf("[ many systems ] %d systems: main window open after %.2f s, list opened and scrolled in %.2f s\n", n,
                loadSeconds, popupSeconds);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dlg.m_Systems.GetSize(), n);
}
