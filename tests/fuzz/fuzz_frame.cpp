// An arbitrary run state (any doubles, NaN, infinities and huge values
// included, any force type and constants, any view flags and keys) through a
// few ticks of an off-screen simulation window: the Euler steps and the frame.
#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/SimulationDlg.h"
#include "platform/Locale.h"

namespace {
// The input read front to back; past its end every byte is 0.
struct Input {
    const uint8_t *p, *end;
    uint8_t Byte() { return p < end ? *p++ : 0; }
    std::string Text()
    {
        const size_t n = std::min<size_t>(Byte() % 32, static_cast<size_t>(end - p));
        return p += n, std::string(reinterpret_cast<const char*>(p - n), n);
    }
    // A tag byte, then the number's 8 bytes (tag 0), a 16-bit whole number, low
    // byte first (1), a value that matters at the edges (2), or a byte of pixels (3).
    double Value()
    {
        static const double kEdges[] = {0.0, -0.0, HUGE_VAL, -HUGE_VAL, NAN, DBL_MAX, -DBL_MAX, DBL_MIN, 1e300, 2147483647.5,
                                        2147483648.0, -2147483648.5, -2147483649.0, 1e10, 799.9, -19.5};
        uint64_t bits = 0;
        double d;
        switch (Byte() % 4) {
        case 0:
            for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(Byte()) << (8 * i);
            return std::memcpy(&d, &bits, sizeof d), d;
        case 1: bits = Byte(); return static_cast<int16_t>(bits | Byte() << 8);  // low byte first
        case 2: return kEdges[Byte() % 16];
        default: return Byte() * 4.0;
        }
    }
};

// One memcmp over the pixels, against a copy kept between inputs: a pixel loop
// or an allocation per tick would cost more than the tick.
size_t Count(const CSurface& s) { return static_cast<size_t>(s.Width()) * static_cast<size_t>(s.Height()); }

bool SamePixels(const CSurface& s, const std::vector<QvPixel>& pixels)
{
    return Count(s) == pixels.size() && std::memcmp(s.Bits(), pixels.data(), pixels.size() * sizeof(QvPixel)) == 0;
}

void CopyPixels(const CSurface& from, std::vector<QvPixel>& to) { to.assign(from.Bits(), from.Bits() + Count(from)); }
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    QvFixNumericLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in{data, data + size};
    const uint8_t flags = in.Byte();
    const int nTicks = 1 + in.Byte() % 3;
    CSystemDlg system;
    system.m_nForceType = static_cast<int8_t>(in.Byte());
    system.m_strForceParams = in.Text();
    for (int i = 0, n = in.Byte() % 9; i < n; ++i) {
        CPlanet p;
        for (double* v : {&p.m_dX, &p.m_dY, &p.m_dVx, &p.m_dVy, &p.m_dMass}) *v = in.Value();
        p.m_bFixed = in.Byte() & 1;
        p.m_nSpriteX = SpriteOffsetForMass(p.m_dMass);
        p.m_strName = in.Text();
        system.m_Planets.Add(p);
    }
    // The run's constants come from its constructor; the display is set up once
    // and reused with a fresh canvas, which costs less than the ticks.
    const CSimulationDlg fresh(&system);
    static CSimulationDlg& dlg = *new CSimulationDlg(nullptr);
    static const std::vector<QvPixel> clean = [] {
        std::vector<QvPixel> pixels;
        dlg.SetUpDisplay(nullptr);
        CopyPixels(*dlg.m_pCanvasSurface, pixels);
        return pixels;
    }();
    dlg.m_system = fresh.m_system;
    dlg.m_nPlanets = fresh.m_nPlanets, dlg.m_nStepsPerTick = fresh.m_nStepsPerTick;
    dlg.m_dForceConst = (flags & 0x10) ? in.Value() : fresh.m_dForceConst;
    dlg.m_dForceParam = (flags & 0x20) ? in.Value() : fresh.m_dForceParam;
    dlg.m_dTimeStep = (flags & 0x40) ? in.Value() : fresh.m_dTimeStep;
    dlg.m_bTraces = flags & 1, dlg.m_bVectors = (flags >> 1) & 1, dlg.m_bLabels = (flags >> 2) & 1, dlg.m_bPaused = (flags >> 3) & 1;
    if (!SamePixels(*dlg.m_pCanvasSurface, clean)) dlg.DrawLegend();
    static std::vector<QvPixel> canvas;
    for (int t = 0; t < nTicks; ++t) {
        if (const uint8_t key = in.Byte()) dlg.OnKeyDown(key, 1, 0);  // 0: no key
        CopyPixels(*dlg.m_pCanvasSurface, canvas);
        dlg.OnTimer(101);
        // Bodies nowhere on the pixel grid leave no sprite, trace, vector or label.
        bool drawable = false;
        for (int i = 0, x, y; i < dlg.m_nPlanets; ++i)
            drawable |= QvTruncToPixel(dlg.m_system.m_Planets[i].m_dX, x) && QvTruncToPixel(dlg.m_system.m_Planets[i].m_dY, y);
        if (!drawable && (!SamePixels(*dlg.m_pPrimarySurface, canvas) || !SamePixels(*dlg.m_pCanvasSurface, canvas)))
            std::abort();
    }
    return 0;
}
