// quorvane-run simulate, end to end: the program against the plain loop.
#include <algorithm>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "support/TempDir.h"
#include "support/Tool.h"
#include "tests/engine/EngineSupport.h"

namespace {

// System 0 an inverse cube, 1 two planets on one point.
TempDir g_dir;
const std::string g_file = g_dir / "Quorvane.ini";

[[maybe_unused]] const bool g_written = (std::ofstream(g_file, std::ios::binary)
                           << "[Due pianeti]\n1\n3\nSole\n\t400\t300\t0\t0\t10\t1\nTerra\n\t400\t150\t8.5\t0\t1\t0\n\n"
                              "[Scontro]\n0\nA\n\t100\t100\t0\t0\t1\t0\nB\n\t100\t100\t0\t0\t1\t0\n").good();

using Args = std::vector<std::string>;
ToolResult Exec(Args args) { return args.insert(args.begin(), "simulate"), RunTool(args); }
std::string Simulate(Args args) { return args.insert(args.begin(), g_file), Exec(args).out; }

TEST(SimulateCommand, PrintsTheFinalStateExactlyAsJsonOrCsv)
{
    nlohmann::json j = nlohmann::json::parse(Simulate({"--system", "0", "--ticks", "7", "--speed", "9", "--threads", "3"}));
    EXPECT_EQ(j["system"], "Due pianeti");
    EXPECT_EQ(j["ticks"], 7);
    EXPECT_EQ(j["time_step"].get<double>(), 0.0032);
    EXPECT_EQ(j["planets"][1]["name"], "Terra");
    std::vector<CPlanet> want = {Body(400, 300, 0, 0, 10, 1), Body(400, 150, 8.5, 0, 1)};
    ReferenceSteps(want.data(), 2, CForceLaw{1, 1e6, 3.0}, 0.0032, 300 * 7);
    for (int i = 0; i < 2; ++i)
        for (auto [key, v] : {std::pair{"x", want[i].m_dX}, {"y", want[i].m_dY}, {"vx", want[i].m_dVx},
                              {"vy", want[i].m_dVy}, {"fx", want[i].m_dFx}, {"fy", want[i].m_dFy}})
            EXPECT_EQ(j["planets"][i][key].get<double>(), v) << i << key;
    j = nlohmann::json::parse(Simulate({"--system", "1", "--ticks", "1"}));
    EXPECT_EQ(j["planets"][0]["x"], "nan");
    EXPECT_EQ(j["planets"][1]["fy"], "nan");

    // CSV: a header, then one line per tick and planet from the start.
    const std::string csv = Simulate({"--system", "0", "--ticks", "3", "--csv"});
    EXPECT_EQ(csv.rfind("tick,planet,x,y,vx,vy,fx,fy\n0,0,400,300,0,0,0,0\n0,1,400,150,8.5,0,0,0\n1,0,", 0), 0u);
    EXPECT_NE(csv.find("\n3,1,"), std::string::npos);
}

TEST(SimulateCommand, RefusesWhatItCannotRun)
{
    const struct { Args args; int nExit; const char* text; } cases[] = {  // nExit 0: any failure
        {{g_file, "--system", "3", "--ticks", "1"}, 2, "inesistente"}, {{g_file, "--system", "-1", "--ticks", "1"}, 2, "inesistente"},
        {{g_file + ".x", "--system", "0", "--ticks", "1"}, 1, "mancante"}, {{g_file, "--system", "0", "--ticks", "1", "--speed", "0"}, 0, ""},
        {{g_file, "--system", "0", "--ticks", "1", "--threads", "-1"}, 0, ""}};
    for (const auto& c : cases) {
        const auto [nExit, out, err] = Exec(c.args);
        EXPECT_TRUE(c.nExit ? nExit == c.nExit : nExit != 0) << c.args[1] << ' ' << c.args[2];
        EXPECT_NE(err.find(c.text), std::string::npos) << err;
        EXPECT_EQ(out, "");
    }
}

// The example systems that come with the program keep looking good: each one
// stays mostly on the 800 × 600 frame for two minutes at the start speed and
// never turns non-finite.
TEST(SimulateCommand, ExamplesStayOnTheFrameForTwoMinutes)
{
    const long kTicks = 2 * 60 * 50;  // at 50 a second
    for (int i = 0;; ++i) {
        const auto [nExit, out, err] = Exec({QV_SOURCE_DIR "/examples/Quorvane.ini", "--csv", "--system", std::to_string(i),
                                       "--ticks", std::to_string(kTicks)});
        if (nExit == 2 && i >= 8) break;
        ASSERT_EQ(nExit, 0) << i;
        EXPECT_EQ(out.find_first_of("ni", out.find('\n')), std::string::npos) << i;  // no nan, no inf
        std::istringstream csv(out);
        long samples = 0, onFrame = 0, planets = 0, planet;
        double x, y;
        for (std::string line; std::getline(csv, line);)
            if (std::sscanf(line.c_str(), "%*d,%ld,%lf,%lf", &planet, &x, &y) == 3)
                planets = std::max(planets, planet + 1), ++samples, onFrame += x >= 0 && x < 800 && y >= 0 && y < 600;
        EXPECT_EQ(samples, (kTicks + 1) * planets) << i;
        EXPECT_GE(static_cast<double>(onFrame) / static_cast<double>(samples), 0.8) << i;
    }
}

}  // namespace
