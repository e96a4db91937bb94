#include <cmath>
#include <vector>

#include "engine/InternalError.h"
#include "engine/SimulationDlg.h"
#include "numerics/CorrectlyRounded.h"
#include "platform/Dialog.h"
#include "tests/engine/EngineSupport.h"

namespace {

// A tick is 300 plain-loop steps of the current time step on the run's own
// copy, under the law that the type code and the parameter text (its leading
// decimal number in the "C" locale: no hexadecimal, infinity or NaN) give;
// unknown codes and the polynomial run as the inverse square. Pause skips the tick, and a digit pressed during the pause
// counts once it ends.
TEST(SimulationState, TicksFollowThePlainLoopOnACopyAndPauseSkipsThem)
{
    const std::vector<CPlanet> start = {Body(100, 300, 0, 3, 4), Body(700, 300, 0, -3, 4), Body(400, 100, 1, 0, 6, 1)};
    const struct {
        int nType;
        const char* text;
        CForceLaw law;
    } cases[] = {{0, "5", {}}, {3, "2, 1.5, 0, 3", {}}, {4, "", {}}, {-2, "", {}}, {1, "2", {1, 1e4, 2}},
                 {1, "1,5", {1, 100, 1}}, {1, " -0.5", {1, CrPow(100.0, -0.5), -0.5}}, {1, "abc", {1, 1, 0}},
                 {1, "", {1, 1, 0}}, {1, "3e-2", {1, CrPow(100.0, 0.03), 0.03}}, {2, "-0.01", {2, 1, -0.01}},
                 {2, "x", {2, 1, 0}}, {1, "0x2", {1, 1, 0}}, {2, " 0X1p3", {2, 1, 0}}, {1, "inf", {1, 1, 0}},
                 {2, "-infinity", {2, 1, 0}}, {1, "nan", {1, 1, 0}}, {1, "+.5e+1x", {1, 1e10, 5}}};
    for (const auto& c : cases) {
        CSystemDlg stored;
        stored.m_nForceType = c.nType;
        stored.m_strForceParams = c.text;
        for (const CPlanet& p : start) stored.m_Planets.Add(p);
        CSimulationDlg sim(&stored, nullptr);
        EXPECT_EQ(sim.m_bTraces + 2 * sim.m_bVectors + 4 * sim.m_bPaused + 8 * sim.m_bLabels, 1);  // traces only
        std::vector<CPlanet> want = start;
        ReferenceSteps(want.data(), 3, c.law, 0.0002, 300);
        sim.Integrate();
        EXPECT_EQ(Hex(sim.m_system.m_Planets), Hex(want)) << c.nType << " \"" << c.text << "\"";
        EXPECT_EQ(Hex(stored.m_Planets), Hex(start));

        sim.m_bPaused = 1;
        sim.OnKeyDown('9', 1, 0);
        sim.Integrate();
        EXPECT_EQ(Hex(sim.m_system.m_Planets), Hex(want));
        sim.m_bPaused = 0;
        sim.Integrate();
        ReferenceSteps(want.data(), 3, c.law, 0.0032, 300);
        EXPECT_EQ(Hex(sim.m_system.m_Planets), Hex(want)) << c.nType << " \"" << c.text << "\"";
    }
    CSimulationDlg(nullptr, nullptr).Integrate();  // no system: nothing to do, nothing to crash
}

// The box is answered here and its text copied to stderr, so that the message
// can be checked whether or not the platform has a display to show it on.
TEST(InternalErrorDeathTest, ShowsTheCodeAndExitsWithIt)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QvSetMessageBoxHook([](const CString& text, UINT nType) {
        std::fprintf(stderr, "[box %u] %s\n", nType, text.c_str());
        return IDOK;
    });
    EXPECT_EXIT(InternalErrorExit(19), ::testing::ExitedWithCode(19),
                "Errore dell'applicazione; si prega di annotare il codice QUOR19 "
                "e di comunicarlo a chi ha installato il programma\\.");
}

}  // namespace
