// An arbitrary run state (any doubles, NaN, infinities and huge values
// included, any force type and constants, any view flags and keys) through a
// few ticks of an off-screen simulation window: the Euler steps and the frame.
#include <QApplication>
#include <QImage>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "engine/SimulationDlg.h"
#include "platform/Locale.h"

namespace {

// The input read front to back; past its end every byte is 0.
class Input {
public:
    Input(const uint8_t* data, size_t size) : m_p(data), m_end(data + size) {}
    uint8_t Byte() { return m_p < m_end ? *m_p++ : 0; }
    double Raw()
    {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(Byte()) << (8 * i);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    std::string Text()
    {
        const size_t n = std::min<size_t>(Byte() % 32, static_cast<size_t>(m_end - m_p));
        m_p += n;
        return std::string(reinterpret_cast<const char*>(m_p - n), n);
    }

private:
    const uint8_t* m_p;
    const uint8_t* m_end;
};

// A number: a tag byte, then its bits (tag 0), a 16-bit whole number (1), one
// of the values that matter at the edges (2), or a byte of pixels (3).
double Value(Input& in)
{
    const double inf = std::numeric_limits<double>::infinity();
    static const double kSpecial[] = {0.0,          -0.0,         inf,           -inf,          std::nan(""), DBL_MAX,
                                      -DBL_MAX,     DBL_MIN,      1e300,         2147483647.5,  2147483648.0, -2147483648.5,
                                      -2147483649.0, 1e10,        799.9,         -19.5};
    switch (in.Byte() % 4) {
    case 0: return in.Raw();
    case 1: {
        const int low = in.Byte();  // low byte first: the order the corpus was written in
        return static_cast<int16_t>(low | in.Byte() << 8);
    }
    case 2: return kSpecial[in.Byte() % (sizeof kSpecial / sizeof kSpecial[0])];
    default: return in.Byte() * 4.0;
    }
}

// No body can be drawn: every position is outside the pixel range or not a number.
bool NothingDrawable(const CSimulationDlg& dlg)
{
    for (int i = 0; i < dlg.m_nPlanets; ++i) {
        int px, py;
        const CPlanet& p = dlg.m_system.m_Planets[i];
        if (QvTruncToPixel(p.m_dX, px) && QvTruncToPixel(p.m_dY, py)) return false;
    }
    return true;
}

// Row by row with memcmp: a pixel loop here would cost more than the tick.
bool SamePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.format() != b.format()) return false;
    const size_t row = static_cast<size_t>(a.width()) * 4;
    for (int y = 0; y < a.height(); ++y) {
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), row) == 0) continue;
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) return false;
    }
    return true;
}

// Into a buffer kept between inputs: no allocation per tick.
void CopyPixels(const QImage& from, QImage& to)
{
    if (to.size() != from.size() || to.format() != from.format()) to = QImage(from.size(), from.format());
    const size_t row = static_cast<size_t>(from.width()) * 4;
    for (int y = 0; y < from.height(); ++y) std::memcpy(to.scanLine(y), from.constScanLine(y), row);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "fuzz_frame";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    QvFixNumericLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size);
    const uint8_t flags = in.Byte();
    const int nTicks = 1 + in.Byte() % 3;

    CSystemDlg system;
    system.m_strName = "Fuzz";
    system.m_nForceType = static_cast<int8_t>(in.Byte());
    system.m_strForceParams = in.Text();
    const int nPlanets = in.Byte() % 9;
    for (int i = 0; i < nPlanets; ++i) {
        CPlanet p;
        for (double* v : {&p.m_dX, &p.m_dY, &p.m_dVx, &p.m_dVy, &p.m_dMass}) *v = Value(in);
        p.m_bFixed = in.Byte() & 1;
        p.m_nSpriteX = SpriteOffsetForMass(p.m_dMass);
        p.m_strName = in.Text();
        system.m_Planets.Add(p);
    }

    // The run's own constants come from the constructor; the display is set
    // up once and reused, with a fresh canvas, since setting it up per input
    // would cost more than the ticks themselves.
    CSimulationDlg fresh(&system);
    static CSimulationDlg* s_pDlg = nullptr;
    static QImage s_cleanCanvas;
    if (!s_pDlg) {
        s_pDlg = new CSimulationDlg(nullptr);
        s_pDlg->SetUpDisplay(nullptr);
        CopyPixels(s_pDlg->m_pCanvasSurface->Image(), s_cleanCanvas);
    }
    CSimulationDlg& dlg = *s_pDlg;
    dlg.m_system = fresh.m_system;
    dlg.m_nPlanets = fresh.m_nPlanets;
    dlg.m_dForceConst = (flags & 0x10) ? Value(in) : fresh.m_dForceConst;
    dlg.m_dForceParam = (flags & 0x20) ? Value(in) : fresh.m_dForceParam;
    dlg.m_dTimeStep = (flags & 0x40) ? Value(in) : fresh.m_dTimeStep;
    dlg.m_nStepsPerTick = fresh.m_nStepsPerTick;
    dlg.m_bTraces = flags & 1;
    dlg.m_bVectors = (flags >> 1) & 1;
    dlg.m_bLabels = (flags >> 2) & 1;
    dlg.m_bPaused = (flags >> 3) & 1;
    if (!SamePixels(dlg.m_pCanvasSurface->Image(), s_cleanCanvas)) dlg.DrawLegend();

    static QImage canvas;
    for (int t = 0; t < nTicks; ++t) {
        // A key between ticks, 0 for none.
        if (const uint8_t key = in.Byte()) dlg.OnKeyDown(key, 1, 0);
        CopyPixels(dlg.m_pCanvasSurface->Image(), canvas);
        dlg.OnTimer(101);
        // Bodies that are nowhere on the pixel grid leave no sprite, trace,
        // vector or label: the frame is the canvas of before the tick.
        if (NothingDrawable(dlg) && (!SamePixels(dlg.m_pPrimarySurface->Image(), canvas) ||
                                     !SamePixels(dlg.m_pCanvasSurface->Image(), canvas)))
            std::abort();
    }
    return 0;
}
