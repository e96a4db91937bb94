// The store at its edges: bytes of a file in, records out; records in, the
// writer's exact bytes; and the same through quorvane-run.
#include <clocale>
#include <cmath>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <tuple>

#include "StoreTestUtil.h"
#include "support/Tool.h"

using namespace std::string_literals;

TEST(Reader, BytesToSystems)
{
    const std::string sole = "[S]\n0\nSole\n\t1\t2\t3\t4\t5\t1\n", soleDump = "[S] 0 \n Sole 1 2 3 4 5 1 160\n";
    // The sprite column follows the truncated mass, within the sheet.
    std::string masses = "[M]\n0\n", massDump = "[M] 0 \n";
    for (auto [text, offset] : {std::tuple{"0.5", 0}, {"1.99", 0}, {"2", 40}, {"9.99", 320}, {"10", 360},
                                {"1e+12", 360}, {"-3", 0}, {"nan", 0}, {"inf", 360}}) {
        masses += "m\n\t0\t0\t0\t0\t"s + text + "\n";
        massDump += " m 0 0 0 0 "s + text + " 0 " + std::to_string(offset) + "\n";
    }
    const std::pair<std::string, std::string> rows[] = {
        {"", ""},
        {"\n\n  \n\r\n", ""},
        {ReadBytes(QV_TEST_DATA "/store_worked_example.ini"),
         "[Due pianeti] 1 3\n Sole 400 300 0 0 10 1 360\n Terra 400 150 8.5 0 1 0 0\n"},
        // CR LF lines, text around systems, a header without "]", blanks in a data line,
        // short data lines (the rest from the planet before), a header right after a
        // data line, no final newline.
        {ReadBytes(QV_TEST_DATA "/store_tolerant.ini"),
         "[Prova] 2 0.5\n Alfa 100 -3.5 4 5 2.5 1 40\n Beta 7 8 4 5 2.5 1 40\n \xc9ta -1 -2 -3 -4 0.5 0 0\n"
         "[Senza fine] 0 \n Gamma 1 2 3 4 9.5 0 320\n[Subito dopo] -1 \n Delta 0 0 0 0 1 0 0\n"},
        // The name runs to the first "]" or the line's end; "[" alone, even as the last byte.
        {"[Sole\n0\n\n[Sole] e altro\n0\n\n[]\n1\n\nP\n\t1\n\n[a]b]\n0\n\n[",
         "[Sole] 0 \n[Sole] 0 \n[] 1 \n P 1 0 0 0 1 0 0\n[a] 0 \n[] 0 \n"},
        // The law line as atoi reads it, limited to the int range; the parameter line
        // only above 0, and then whole, even when it looks like a header.
        {"[A]\n2abc\n[P]\nQ\n\t1\t1\t1\t1\t1\t0\n\n[B]\n \t1\n\n\n[C]\nx\nNome\n\t1\t2\t3\t4\t5\t0\n\n"
         "[D]\n99999999999999999999\nparam\n\n[E]\n-99999999999999999999\n\n[F]\n+3 \n7,1,2\n\n",
         "[A] 2 [P]\n Q 1 1 1 1 1 0 0\n[B] 1 \n[C] 0 \n Nome 1 2 3 4 5 0 160\n[D] 2147483647 param\n"
         "[E] -2147483648 \n[F] 3 7,1,2\n"},
        // The planet list ends at a blank, a tab, a control character or nothing first,
        // or at a header, which opens the next system; a byte above 127 first is a name.
        {sole + " Luna\nX\n\t9\n" + sole + "\tLuna\n" + sole + "\x01Luna\n" + sole + "\nLuna\n\t9\n" + sole +
             "[B]\n0\n[C]\n1\np\n\xc9tna\n\t7\t8",
         soleDump + soleDump + soleDump + soleDump + soleDump + "[B] 0 \n[C] 1 p\n \xc9tna 7 8 0 0 1 0 0\n"},
        // Bytes stay as they are, NULs included; a data line ends at a NUL; fixed
        // flags beyond the int range are limited.
        {"[Si\0s]\n0\nLu\0na\n\t1\t2\0\t3\t4\t5\t1\nB\n\t1\t2\t3\t4\t5\t99999999999999999999\n"
         "C\n\t1\t2\t3\t4\t5\t-99999999999999999999\nD\n\t1\t2\t3\t4\t5\t-7e\n\n"
         "[\xFF\xFE\x80\xC3(\xE8]\n2\n\xA4 \x80 \0\n\0dopo\n"s,
         "[Si\0s] 0 \n Lu\0na 1 2 0 0 1 0 0\n B 1 2 3 4 5 2147483647 160\n C 1 2 3 4 5 -2147483648 160\n"
         " D 1 2 3 4 5 -7 160\n[\xFF\xFE\x80\xC3(\xE8] 2 \xA4 \x80 \0\n"s},
        {masses, massDump},
        // A UTF-8 byte-order mark is skipped at the very start of the file, once, and nowhere else.
        {"\xEF\xBB\xBF[A]\n0\n\n\xEF\xBB\xBF[B]\n0\n\n[C]\n0\n\xEF\xBB\xBFP\n\t1\n\n",
         "[A] 0 \n[C] 0 \n \xEF\xBB\xBFP 1 0 0 0 1 0 0\n"},
        {"\xEF\xBB\xBF", ""},
        {"\xEF\xBB\xBF\xEF\xBB\xBF[A]\n0\n\n", ""},
        {"\xEF\xBB[A]\n0\n\n", ""},
        {"\n\xEF\xBB\xBF[A]\n0\n\n", ""},
    };
    for (const auto& [bytes, expected] : rows) {
        CSystemList systems;
        LoadBytes(bytes, systems);
        EXPECT_EQ(Dump(systems), expected) << bytes;
    }
}

// Tens of thousands of systems and lines of megabytes load in linear time.
TEST(Reader, ManySystemsAndLongLines)
{
    std::string headers;
    for (int i = 0; i < 100000; ++i) headers += "[\n";  // each header ends the empty system before it
    CSystemList systems;
    LoadBytes(headers + "[L]\n0\n" + std::string(8 << 20, 'x') + "\n" + std::string(8 << 20, ' ') + "3\t4\n\n", systems);
    ASSERT_EQ(systems.GetSize(), 50001);
    ASSERT_EQ(systems[50000].m_Planets.GetSize(), 1);
    EXPECT_EQ(systems[50000].m_Planets[0].m_strName.GetLength(), 8 << 20);
    EXPECT_EQ(systems[50000].m_Planets[0].m_dY, 4.0);
}

// Only a plain file, or a link to one, is a configuration file: nothing else
// may keep loading waiting or reading for ever.
TEST(Reader, OnlyPlainFilesAreRead)
{
    TempDir dir;
    WriteBytes(dir / "vuoto.ini", "");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("/dev/zero", (dir / "zero").c_str()), 0);
    ASSERT_EQ(::symlink("vuoto.ini", (dir / "collegamento").c_str()), 0);
    for (const auto& [name, opens] : {std::pair{"", false}, {"manca.ini", false}, {"fifo", false}, {"zero", false},
                                      {"vuoto.ini", true}, {"collegamento", true}}) {
        CSystemList systems;
        EXPECT_EQ(LoadSystemsFromFile((dir / name).c_str(), systems), opens) << name;
        EXPECT_EQ(systems.GetSize(), 0);
    }
}

// Exact bytes, "%f" numbers in the "C" locale whatever the user's, and the same
// systems read back, every number rounded to six decimals.
TEST(Writer, ExactBytesAndTheRoundTrip)
{
    CSystemList list;
    EXPECT_EQ(SaveBytes(list), "");
    list.SetSize(5);
    list[0].m_strName = "Due pianeti", list[0].m_nForceType = 1, list[0].m_strForceParams = "3";
    list[0].m_Planets.Add(MakePlanet("Sole", 400, 300, 0, 0, 10, 1));
    list[0].m_Planets.Add(MakePlanet("Terra", 400, 150, 8.5, 0, 1));
    list[1].m_strName = "Numeri", list[1].m_nForceType = -1, list[1].m_strForceParams = "mai scritto";
    list[1].m_Planets.Add(MakePlanet("P", 0.1234567, 0.0000001, 1e20, -2.5, 9.5));
    list[1].m_Planets.Add(MakePlanet("N", NAN, HUGE_VAL, -HUGE_VAL, -0.0000004, std::copysign(NAN, -1.0), 1));
    list[2].m_strName = "Zero", list[2].m_strForceParams = "nemmeno questo";
    list[3].m_strName = "Nul\0lo \xe8 \xc3\xa8"s, list[3].m_nForceType = 5, list[3].m_strForceParams = "0.\0001"s;
    list[3].m_Planets.Add(MakePlanet("a\0b"s, 1, 1, 1, 1, 1));
    list[4].m_Planets.Add(CPlanet());
    list[4] = list[0];  // the same name again: a system of its own
    const std::string worked = ReadBytes(QV_TEST_DATA "/store_worked_example.ini");
    const std::string expected = worked +
        "[Numeri]\n-1\nP\n\t0.123457\t0.000000\t100000000000000000000.000000\t-2.500000\t9.500000\t0\n"
        "N\n\tnan\tinf\t-inf\t-0.000000\t-nan\t1\n\n[Zero]\n0\n\n"
        "[Nul\0lo \xe8 \xc3\xa8]\n5\n0.\0001\na\0b\n\t1.000000\t1.000000\t1.000000\t1.000000\t1.000000\t0\n\n"s + worked;
    const std::string back = Dump(list[0]) + "[Numeri] -1 \n P 0.123457 0 1e+20 -2.5 9.5 0 320\n N nan inf -inf -0 -nan 1 0\n"
                             "[Zero] 0 \n" + Dump(list[3]) + Dump(list[0]);
    const std::string user = std::setlocale(LC_ALL, nullptr);
    for (const char* locale : {"C", "it_IT.UTF-8"}) {
        if (!std::setlocale(LC_ALL, locale)) continue;
        CSystemList loaded;
        EXPECT_EQ(SaveBytes(list), expected) << locale;
        LoadBytes(expected, loaded);
        EXPECT_EQ(Dump(loaded), back) << locale;
        EXPECT_EQ(SaveBytes(loaded), expected) << locale;
    }
    std::setlocale(LC_ALL, user.c_str());
}

namespace {
// Exit status and standard output, or standard error when the status is not 0.
std::pair<int, std::string> Cli(const std::vector<std::string>& args)
{
    const ToolResult r = RunTool(args);
    return {r.status, r.status ? r.err : r.out};
}
}  // namespace

TEST(Cli, ListAndResave)
{
    TempDir dir;
    const std::string in = dir / "in.ini", out = dir / "out.ini";
    WriteBytes(dir / "in.ini", "[Caf\xe8]\n2\n0.5\n\xc3\x89toile\n\t0.1\tnan\tinf\t-inf\t1e-300\t1\n\n[Vuoto]\n0\n\n");
    const auto list = Cli({"list", in});
    // Names shown as the program shows them (valid UTF-8 kept, else Windows-1252);
    // numbers exact, those that JSON cannot carry as strings.
    EXPECT_EQ(nlohmann::json::parse(list.second), nlohmann::json::parse(R"({"systems": [{"name": "Caf\u00e8", "force_type": 2,
        "force_params": "0.5", "planets": [{"name": "\u00c9toile", "x": 0.1, "y": "nan", "vx": "inf", "vy": "-inf",
        "mass": 1e-300, "fixed": 1, "sprite_x": 0}]}, {"name": "Vuoto", "force_type": 0, "force_params": "", "planets": []}]})"));
    EXPECT_EQ(Cli({"resave", in, out}), std::pair(0, ""s));
    CSystemList systems;
    LoadBytes(ReadBytes(dir / "in.ini"), systems);
    EXPECT_EQ(ReadBytes(dir / "out.ini"), SaveBytes(systems));
    // A byte-order mark costs no system, and a save does not keep it.
    WriteBytes(dir / "bom.ini", "\xEF\xBB\xBF" + ReadBytes(dir / "in.ini"));
    EXPECT_EQ(Cli({"resave", dir / "bom.ini", out}), std::pair(0, ""s));
    EXPECT_EQ(ReadBytes(dir / "out.ini"), SaveBytes(systems));
    EXPECT_EQ(Cli({"list", in + "x"}), std::pair(1, "File di configurazione \"" + dir / "in.inix" + "\" mancante\n"));
    EXPECT_EQ(Cli({"resave", in, in + "/out.ini"}),
              std::pair(1, "Impossibile salvare il file \"" + dir / "in.ini/out.ini" + "\": errore di sistema 20 (Not a directory).\n"));
}
