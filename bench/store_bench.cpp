// Loading and saving large configuration files.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "store/ConfigFile.h"

namespace {
struct BenchDir {
    BenchDir()
    {
        char pattern[] = "/tmp/qvbench.XXXXXX";
        path = ::mkdtemp(pattern) ? pattern : "/tmp";
    }
    ~BenchDir()
    {
        std::string cmd = "rm -rf '" + path + "'";
        if (std::system(cmd.c_str()) != 0) {
        }
    }
    std::string path;
};

CSystemList MakeSystems(int count, int planets)
{
    CSystemList list;
    list.SetSize(count);
    for (int i = 0; i < count; ++i) {
        CSystemDlg& s = list[i];
        s.m_strName.Format("Sistema %d", i);
        s.m_nForceType = i % 3;
        if (s.m_nForceType > 0) s.m_strForceParams = "2.5";
        for (int k = 0; k < planets; ++k) {
            CPlanet p;
            p.m_strName.Format("Pianeta %d", k);
            p.m_dX = 400.0 + 37.25 * k;
            p.m_dY = 300.0 - 11.5 * k;
            p.m_dVx = 0.123456 * i;
            p.m_dVy = -25.819889;
            p.m_dMass = 1.0 + k;
            p.m_bFixed = k == 0;
            s.m_Planets.Add(p);
        }
    }
    return list;
}

void Load(benchmark::State& state, int count, int planets)
{
    BenchDir dir;
    std::string path = dir.path + "/Quorvane.ini";
    if (!SaveSystemsToFile(path.c_str(), MakeSystems(count, planets))) state.SkipWithError("cannot write");
    for (auto _ : state) {
        CSystemList systems;
        LoadSystemsFromFile(path.c_str(), systems);
        benchmark::DoNotOptimize(systems.GetSize());
    }
}

void BM_Load10000Systems(benchmark::State& state) { Load(state, 10000, 5); }
void BM_LoadMillionPlanets(benchmark::State& state) { Load(state, 1, 1000000); }

void BM_Save10000Systems(benchmark::State& state)
{
    BenchDir dir;
    std::string path = dir.path + "/Quorvane.ini";
    CSystemList systems = MakeSystems(10000, 5);
    for (auto _ : state) {
        if (!SaveSystemsToFile(path.c_str(), systems)) state.SkipWithError("cannot write");
    }
}
}  // namespace

BENCHMARK(BM_Load10000Systems)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save10000Systems)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMillionPlanets)->Unit(benchmark::kMillisecond);
