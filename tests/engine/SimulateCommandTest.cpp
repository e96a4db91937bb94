// quorvane-run simulate, end to end: the program against the plain loop.
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/engine/EngineSupport.h"

namespace {

struct Result {
    int exitCode;
    std::string out, err;
};

class SimulateCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        std::ofstream(m_file.toStdString(), std::ios::binary)
            << "[Due pianeti]\n1\n3\n"
               "Sole\n\t400.000000\t300.000000\t0.000000\t0.000000\t10.000000\t1\n"
               "Terra\n\t400.000000\t150.000000\t8.500000\t0.000000\t1.000000\t0\n\n"
               "[Scontro]\n0\nA\n\t100\t100\t0\t0\t1\t0\nB\n\t100\t100\t0\t0\t1\t0\n\n";
    }

    Result Run(QStringList args)
    {
        QProcess p;
        p.start(QV_RUN_EXE, QStringList{"simulate", m_file} + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitCode(), p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
    }

    QTemporaryDir m_dir;
    QString m_file = m_dir.filePath("Quorvane.ini");
};

// The first system of the file after nTicks ticks of dt: an inverse cube.
std::vector<CPlanet> Expected(int nTicks, double dt)
{
    std::vector<CPlanet> planets = {Body(400, 300, 0, 0, 10, 1), Body(400, 150, 8.5, 0, 1)};
    ReferenceSteps(planets.data(), 2, CForceLaw{1, 1e6, 3.0}, dt, 300 * nTicks);
    return planets;
}

double Number(const nlohmann::json& v)
{
    if (!v.is_string()) return v.get<double>();
    return v == "nan" ? std::nan("") : v == "inf" ? HUGE_VAL : -HUGE_VAL;
}

TEST_F(SimulateCommand, PrintsTheFinalStateExactlyAsJsonOrCsv)
{
    const Result r = Run({"--system", "0", "--ticks", "7", "--speed", "9"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["system"], "Due pianeti");
    EXPECT_EQ(j["ticks"], 7);
    EXPECT_EQ(j["time_step"].get<double>(), 0.0032);
    EXPECT_EQ(j["planets"][1]["name"], "Terra");
    std::vector<CPlanet> got;
    for (const auto& p : j["planets"])
        got.push_back(State(Number(p["x"]), Number(p["y"]), Number(p["vx"]), Number(p["vy"]), Number(p["fx"]), Number(p["fy"])));
    EXPECT_TRUE(SameState(got, Expected(7, 0.0032)));

    // Zero ticks: the start as stored, at the starting time step.
    const nlohmann::json z = nlohmann::json::parse(Run({"--system", "0", "--ticks", "0"}).out);
    EXPECT_EQ(z["time_step"].get<double>(), 0.0002);
    EXPECT_EQ(z["planets"][1]["x"].get<double>(), 400.0);
    EXPECT_EQ(z["planets"][1]["vx"].get<double>(), 8.5);

    // Non-finite values are spelled out.
    const nlohmann::json n = nlohmann::json::parse(Run({"--system", "1", "--ticks", "1"}).out);
    EXPECT_EQ(n["planets"][0]["x"], "nan");
    EXPECT_EQ(n["planets"][1]["fy"], "nan");

    // CSV: one line per tick and planet from the start, full precision.
    std::istringstream csv(Run({"--system", "0", "--ticks", "3", "--csv"}).out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(csv, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 1u + 4u * 2u);
    EXPECT_EQ(lines[0], "tick,planet,x,y,vx,vy,fx,fy");
    EXPECT_EQ(lines[1], "0,0,400,300,0,0,0,0");
    EXPECT_EQ(lines[2], "0,1,400,150,8.5,0,0,0");
    got.clear();
    for (size_t i = 7; i < 9; ++i) {
        int tick = -1, planet = -1;
        double v[6];
        char extra;
        ASSERT_EQ(std::sscanf(lines[i].c_str(), "%d,%d,%lf,%lf,%lf,%lf,%lf,%lf%c", &tick, &planet, &v[0], &v[1], &v[2],
                              &v[3], &v[4], &v[5], &extra),
                  8)
            << lines[i];
        EXPECT_EQ(tick, 3);
        EXPECT_EQ(planet, static_cast<int>(i - 7));
        got.push_back(State(v[0], v[1], v[2], v[3], v[4], v[5]));
    }
    EXPECT_TRUE(SameState(got, Expected(3, 0.0002)));
}

TEST_F(SimulateCommand, RefusesWhatItCannotRun)
{
    for (const char* index : {"2", "-1"}) {
        const Result r = Run({"--system", index, "--ticks", "1"});
        EXPECT_EQ(r.exitCode, 2) << index;
        EXPECT_NE(r.err.find("inesistente"), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    const QStringList bad[] = {{"--system", "0", "--ticks", "-1"}, {"--system", "0", "--ticks", "1", "--speed", "0"},
                               {"--system", "0", "--ticks", "1", "--speed", "10"}, {"--ticks", "1"}};
    for (const QStringList& args : bad) EXPECT_NE(Run(args).exitCode, 0) << args.join(' ').toStdString();
    m_file += ".missing";
    const Result missing = Run({"--system", "0", "--ticks", "1"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("mancante"), std::string::npos) << missing.err;
}

}  // namespace
