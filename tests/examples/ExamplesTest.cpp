// The example systems that come with the program must keep looking good: each
// one stays mostly on the 800 × 600 frame for two minutes at the start speed
// and never turns non-finite. They are run through quorvane-run simulate, the
// same code path as the window's ticks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include "engine/SimulationDlg.h"
#include "store/ConfigFile.h"

namespace {

const char* const kExamples = QV_SOURCE_DIR "/examples/Quorvane.ini";
constexpr int kTwoMinutes = 2 * 60 * 50;  // ticks at 50 a second

struct RunSummary {
    long samples = 0;
    long onFrame = 0;
    bool finite = true;
    int planets = 0;
};

RunSummary Simulate(int nSystem)
{
    std::string cmd = std::string(QV_RUN_EXE) + " simulate '" + kExamples + "' --system " + std::to_string(nSystem) +
                      " --ticks " + std::to_string(kTwoMinutes) + " --csv";
    RunSummary s;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (!pipe) return s;
    char line[512];
    bool header = true;
    while (std::fgets(line, sizeof line, pipe)) {
        if (header) {
            header = false;
            continue;
        }
        int tick = 0, planet = 0;
        char x[64], y[64], vx[64], vy[64];
        if (std::sscanf(line, "%d,%d,%63[^,],%63[^,],%63[^,],%63[^,]", &tick, &planet, x, y, vx, vy) != 6) continue;
        s.planets = std::max(s.planets, planet + 1);
        double dx = std::strtod(x, nullptr), dy = std::strtod(y, nullptr);
        if (!std::isfinite(dx) || !std::isfinite(dy) || !std::isfinite(std::strtod(vx, nullptr)) ||
            !std::isfinite(std::strtod(vy, nullptr)))
            s.finite = false;
        ++s.samples;
        if (dx >= 0 && dx < 800 && dy >= 0 && dy < 600) ++s.onFrame;
    }
    pclose(pipe);
    return s;
}

}  // namespace

TEST(Examples, CoverWhatTheProgramCanShow)
{
    CSystemList systems;
    ASSERT_TRUE(LoadSystemsFromFile(kExamples, systems));
    ASSERT_GE(systems.GetSize(), 8);

    std::set<std::string> names;
    bool inverseCube = false, decayingExponential = false, fiveBodies = false;
    for (int i = 0; i < systems.GetSize(); ++i) {
        const CSystemDlg& s = systems[i];
        EXPECT_TRUE(names.insert(s.m_strName.str()).second) << "duplicate name " << s.m_strName.str();
        CSimulationDlg sim(const_cast<CSystemDlg*>(&s), nullptr);
        inverseCube = inverseCube || (s.m_nForceType == 1 && sim.m_dForceParam == 3.0);
        decayingExponential = decayingExponential || (s.m_nForceType == 2 && sim.m_dForceParam < 0.0);
        fiveBodies = fiveBodies || s.m_Planets.GetSize() >= 5;
    }
    EXPECT_TRUE(inverseCube);
    EXPECT_TRUE(decayingExponential);
    EXPECT_TRUE(fiveBodies);
}

TEST(Examples, StayOnTheFrameForTwoMinutes)
{
    CSystemList systems;
    ASSERT_TRUE(LoadSystemsFromFile(kExamples, systems));
    for (int i = 0; i < systems.GetSize(); ++i) {
        SCOPED_TRACE(systems[i].m_strName.str());
        RunSummary s = Simulate(i);
        ASSERT_EQ(s.planets, systems[i].m_Planets.GetSize());
        ASSERT_EQ(s.samples, static_cast<long>(kTwoMinutes + 1) * s.planets);
        EXPECT_TRUE(s.finite);
        EXPECT_GE(static_cast<double>(s.onFrame) / static_cast<double>(s.samples), 0.8);
    }
}
