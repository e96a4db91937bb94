// Runs whose state degenerates: planets at one place, mass 0, masses and
// constants that overflow, positions beyond any 32-bit pixel. The run goes
// on tick after tick, and a body whose values are no drawable pixels leaves
// no sprite, trace, vector or label.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "engine/SimulationDlg.h"

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Body {
    double x, y, vx = 0, vy = 0, mass = 1;
    int fixed = 0;
};

std::unique_ptr<CSimulationDlg> MakeRun(const std::vector<Body>& bodies, int forceType = 0, const char* params = "")
{
    CSystemDlg sys;
    sys.m_nForceType = forceType;
    sys.m_strForceParams = params;
    for (const Body& b : bodies) {
        CPlanet p;
        p.m_strName = "Corpo";
        p.m_dX = b.x, p.m_dY = b.y, p.m_dVx = b.vx, p.m_dVy = b.vy, p.m_dMass = b.mass, p.m_bFixed = b.fixed;
        p.m_nSpriteX = SpriteOffsetForMass(b.mass);
        sys.m_Planets.Add(p);
    }
    auto dlg = std::make_unique<CSimulationDlg>(&sys);
    dlg->m_bTraces = dlg->m_bVectors = dlg->m_bLabels = 1;
    dlg->SetUpDisplay(nullptr);
    return dlg;
}

int Differing(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
    return n;
}

bool Finite(const CPlanet& p)
{
    return std::isfinite(p.m_dX) && std::isfinite(p.m_dY) && std::isfinite(p.m_dVx) && std::isfinite(p.m_dVy);
}

// Ticks on; once no body is finite, every frame is the canvas alone and the
// canvas gets no trace. Returns how many bodies ended non-finite.
int TickAndExpectNothingDrawn(CSimulationDlg& dlg, int nTicks)
{
    int nonFinite = 0;
    for (int t = 0; t < nTicks; ++t) {
        const QImage canvas = dlg.m_pCanvasSurface->Image().copy();
        dlg.OnTimer(101);
        nonFinite = 0;
        for (int i = 0; i < dlg.m_nPlanets; ++i) nonFinite += !Finite(dlg.m_system.m_Planets[i]);
        if (nonFinite == dlg.m_nPlanets) {
            EXPECT_EQ(Differing(dlg.m_pPrimarySurface->Image(), canvas), 0) << "tick " << t;
            EXPECT_EQ(Differing(dlg.m_pCanvasSurface->Image(), canvas), 0) << "tick " << t;
        }
    }
    return nonFinite;
}

}  // namespace

TEST(HostileStates, DegeneratePhysicsTurnsNonFiniteAndTheRunGoesOnButFixedPlanetsStay)
{
    const struct {
        const char* what;
        std::vector<Body> bodies;
        int forceType;
        const char* params;
    } cases[] = {
        {"two at one place: 0/0, and from there everywhere", {{200, 200}, {200, 200}, {600, 400}}, 0, ""},
        {"mass 0 divides by zero, the NaN spreads", {{100, 100, 0, 0, 0}, {300, 100}}, 0, ""},
        {"masses whose product overflows, then inf - inf", {{100, 100, 0, 0, 1e200}, {300, 100, 0, 0, 1e200}}, 0, ""},
        {"pow(100, 400) overflows the inverse power's constant", {{100, 100}, {200, 100}}, 1, "400"},
        {"exp(600 * 1000) overflows the exponential", {{100, 100}, {700, 100}}, 2, "1000"},
    };
    for (const auto& c : cases) {
        auto run = MakeRun(c.bodies, c.forceType, c.params);
        EXPECT_TRUE(c.forceType != 1 || std::isinf(run->m_dForceConst));
        EXPECT_EQ(TickAndExpectNothingDrawn(*run, 5), static_cast<int>(c.bodies.size())) << c.what;
        if (c.forceType != 2) continue;
        // The keys still work on a run of NaN: traces off and on, pause, speed.
        for (UINT key : {'T', 'T', 'V', 'E', 'P', '9', 'P', '1'}) run->OnKeyDown(key, 1, 0);
        EXPECT_EQ(run->m_dTimeStep, 0.0002 / 16);
        EXPECT_EQ(TickAndExpectNothingDrawn(*run, 2), 2);
    }

    // Fixed planets are never divided by their mass: one of mass 0 stays and is drawn.
    auto run = MakeRun({{400, 300, 0, 0, 0, 1}, {200, 300}});
    for (int t = 0; t < 3; ++t) run->OnTimer(101);
    EXPECT_EQ(run->m_system.m_Planets[0].m_dX, 400.0);
    EXPECT_EQ(run->m_system.m_Planets[0].m_dY, 300.0);
    EXPECT_TRUE(Finite(run->m_system.m_Planets[1]));
    EXPECT_EQ(run->m_pCanvasSurface->Image().pixel(400, 300) & 0xFFFFFF, 0xFFFFFFu);  // its trace
}

TEST(HostileStates, PositionsAndVectorsBeyondThePixelRange)
{
    // Far outside any 32-bit pixel, or just inside it but off screen: no
    // sprite, no trace, no label, paused or not; the run goes on.
    auto far = MakeRun({{3e9, 300}, {400, -1e12}, {1e300, -1e300}, {kInf, 0}, {0, kNaN}, {2147483647.5, 2147483647.5},
                        {-2147483648.5, 300}, {5e9, 300, 1e20, 0}});
    const QImage canvas = far->m_pCanvasSurface->Image().copy();
    for (int t = 0; t < 6; ++t) {
        far->m_bPaused = t < 3;
        far->OnTimer(101);
        EXPECT_EQ(Differing(far->m_pPrimarySurface->Image(), canvas), 0) << "tick " << t;
    }
    EXPECT_EQ(Differing(far->m_pCanvasSurface->Image(), canvas), 0);
    EXPECT_EQ(far->m_nPlanets, 8);

    // A velocity vector that ends far away but inside the 32-bit range runs to
    // the screen's edge; one whose end is beyond that range, or not a number, is not drawn.
    auto frame = [](double vx) {
        auto run = MakeRun({{400, 300, vx, 0}});
        run->m_bPaused = 1;
        run->m_bLabels = 0;
        run->OnTimer(101);
        return run->m_pPrimarySurface->Image().copy();
    };
    const QImage reaches = frame(1e8), none = frame(0);
    for (int x : {450, 600, 799}) EXPECT_EQ(reaches.pixel(x, 300) & 0xFFFFFF, 0xFFFFFFu) << x;
    EXPECT_EQ(Differing(frame(1e12), none), 0);
    EXPECT_EQ(Differing(frame(kNaN), none), 0);
}
