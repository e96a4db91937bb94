// quorvane-run simulate, end to end: the program against the engine run here.
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/SimulationDlg.h"
#include "store/ConfigFile.h"
#include "tests/engine/EngineSupport.h"

namespace {

const char* const kFile =
    "[Due pianeti]\n1\n3\n"
    "Sole\n\t400.000000\t300.000000\t0.000000\t0.000000\t10.000000\t1\n"
    "Terra\n\t400.000000\t150.000000\t8.500000\t0.000000\t1.000000\t0\n"
    "\n"
    "[Scontro]\n0\n"
    "A\n\t100\t100\t0\t0\t1\t0\n"
    "B\n\t100\t100\t0\t0\t1\t0\n"
    "\n";

struct Result {
    int exitCode;
    std::string out;
    std::string err;
};

class SimulateCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath("Quorvane.ini").toStdString();
        std::ofstream(m_path, std::ios::binary) << kFile;
    }

    Result Run(const QStringList& args)
    {
        QProcess p;
        p.start(QV_RUN_EXE, QStringList{"simulate"} + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitCode(), p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
    }

    // The same system run here, as the command is meant to run it.
    std::vector<CPlanet> RunHere(int nSystem, int nTicks, int nDigit)
    {
        CSystemList systems;
        EXPECT_TRUE(LoadSystemsFromFile(m_path.c_str(), systems));
        CSimulationDlg sim(&systems[nSystem], nullptr);
        if (nDigit) sim.OnKeyDown(static_cast<UINT>('0' + nDigit), 1, 0);
        for (int t = 0; t < nTicks; ++t) sim.Integrate();
        return std::vector<CPlanet>(sim.m_system.m_Planets.begin(), sim.m_system.m_Planets.end());
    }

    QString File() const { return QString::fromStdString(m_path); }

    QTemporaryDir m_dir;
    std::string m_path;
};

double Number(const nlohmann::json& v)
{
    if (v.is_string()) {
        const std::string s = v.get<std::string>();
        return s == "nan" ? std::nan("") : s == "inf" ? HUGE_VAL : -HUGE_VAL;
    }
    return v.get<double>();
}

TEST_F(SimulateCommand, PrintsTheFinalStateOfTheEngineExactly)
{
    const Result r = Run({File(), "--system", "0", "--ticks", "7", "--speed", "9"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["system"], "Due pianeti");
    EXPECT_EQ(j["ticks"], 7);
    EXPECT_EQ(j["time_step"].get<double>(), 0.0032);
    const std::vector<CPlanet> want = RunHere(0, 7, 9);
    ASSERT_EQ(j["planets"].size(), want.size());
    std::vector<CPlanet> got;
    for (const auto& p : j["planets"]) {
        got.push_back(Body(Number(p["x"]), Number(p["y"]), Number(p["vx"]), Number(p["vy"]), 1.0));
        got.back().m_dFx = Number(p["fx"]);
        got.back().m_dFy = Number(p["fy"]);
    }
    EXPECT_EQ(j["planets"][1]["name"], "Terra");
    EXPECT_TRUE(SameState(got, want));

    // Zero ticks: the start as stored, at the starting time step.
    const Result zero = Run({File(), "--system", "0", "--ticks", "0"});
    ASSERT_EQ(zero.exitCode, 0) << zero.err;
    const nlohmann::json z = nlohmann::json::parse(zero.out);
    EXPECT_EQ(z["time_step"].get<double>(), 0.0002);
    EXPECT_EQ(z["planets"][1]["x"].get<double>(), 400.0);
    EXPECT_EQ(z["planets"][1]["vx"].get<double>(), 8.5);
}

TEST_F(SimulateCommand, NonFiniteValuesAreSpelledOut)
{
    const Result r = Run({File(), "--system", "1", "--ticks", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["planets"][0]["x"], "nan");
    EXPECT_EQ(j["planets"][1]["fy"], "nan");
}

TEST_F(SimulateCommand, CsvHasOneLinePerTickAndPlanetFromTheStart)
{
    const Result r = Run({File(), "--system", "0", "--ticks", "3", "--csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::istringstream in(r.out);
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(in, line)) lines.push_back(line);
    ASSERT_EQ(lines.size(), 1u + 4u * 2u);
    EXPECT_EQ(lines[0], "tick,planet,x,y,vx,vy,fx,fy");
    EXPECT_EQ(lines[1], "0,0,400,300,0,0,0,0");
    EXPECT_EQ(lines[2], "0,1,400,150,8.5,0,0,0");

    // The last tick at full precision reads back to the engine's values.
    const std::vector<CPlanet> want = RunHere(0, 3, 0);
    for (int i = 0; i < 2; ++i) {
        std::istringstream fields(lines[7 + static_cast<size_t>(i)]);
        std::vector<std::string> f;
        std::string s;
        while (std::getline(fields, s, ',')) f.push_back(s);
        ASSERT_EQ(f.size(), 8u);
        EXPECT_EQ(f[0], "3");
        EXPECT_EQ(f[1], std::to_string(i));
        EXPECT_TRUE(SameBits(std::strtod(f[2].c_str(), nullptr), want[static_cast<size_t>(i)].m_dX));
        EXPECT_TRUE(SameBits(std::strtod(f[5].c_str(), nullptr), want[static_cast<size_t>(i)].m_dVy));
        EXPECT_TRUE(SameBits(std::strtod(f[7].c_str(), nullptr), want[static_cast<size_t>(i)].m_dFy));
    }
}

TEST_F(SimulateCommand, RefusesWhatItCannotRun)
{
    for (const char* index : {"2", "-1"}) {
        const Result r = Run({File(), "--system", index, "--ticks", "1"});
        EXPECT_EQ(r.exitCode, 2) << index;
        EXPECT_NE(r.err.find("inesistente"), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    const Result missing = Run({QString::fromStdString(m_path + ".missing"), "--system", "0", "--ticks", "1"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("mancante"), std::string::npos) << missing.err;

    EXPECT_NE(Run({File(), "--system", "0", "--ticks", "-1"}).exitCode, 0);
    EXPECT_NE(Run({File(), "--system", "0", "--ticks", "1", "--speed", "0"}).exitCode, 0);
    EXPECT_NE(Run({File(), "--system", "0", "--ticks", "1", "--speed", "10"}).exitCode, 0);
    EXPECT_NE(Run({File(), "--ticks", "1"}).exitCode, 0);
}

}  // namespace
