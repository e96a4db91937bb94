// Whatever a file gives, saving and loading it again gives the same systems:
// the same texts (less a CR at a line's end, which the reader takes for part of
// the line end), force types and fixed flags, and every number as its
// six-decimal text reads back. A second save and load changes nothing more.
#include <cstring>

#include "tests/fuzz/FuzzSupport.h"

namespace {
std::string LessCr(const CString& s) { return s.str().substr(0, s.GetLength() - (!s.IsEmpty() && s.str().back() == '\r')); }

bool SameNumber(double from, double to, bool exact)
{
    char text[512];  // "%f" of DBL_MAX has 316 characters
    std::snprintf(text, sizeof text, "%f", from);
    const double reread = exact ? from : std::strtod(text, nullptr);
    return std::memcmp(&reread, &to, sizeof to) == 0;
}

// Saves `from` and loads it into `to`; with `exact`, numbers already rounded once must not move.
void SaveAndCompare(const CSystemList& from, CSystemList& to, bool exact)
{
    static char dir[] = "/dev/shm/qv-fuzz-XXXXXX";  // a real folder: a save renames its temporary file
    static const std::string path = std::string(::mkdtemp(dir) ? dir : (std::abort(), "")) + "/Quorvane.ini";
    static const int cleanup = std::atexit([] { ::unlink(path.c_str()), ::rmdir(dir); });
    (void)cleanup;
    if (!SaveSystemsToFile(path.c_str(), from) || !LoadSystemsFromFile(path.c_str(), to) || from.GetSize() != to.GetSize())
        std::abort();
    qvfuzz::CheckLoaded(to);
    for (int s = 0; s < from.GetSize(); ++s) {
        const CSystemDlg &a = from[s], &b = to[s];
        if (a.m_strName != b.m_strName || a.m_nForceType != b.m_nForceType ||
            LessCr(a.m_strForceParams) != b.m_strForceParams.str() || a.m_Planets.GetSize() != b.m_Planets.GetSize())
            std::abort();
        for (int i = 0; i < a.m_Planets.GetSize(); ++i) {
            const CPlanet &p = a.m_Planets[i], &q = b.m_Planets[i];
            if (LessCr(p.m_strName) != q.m_strName.str() || p.m_bFixed != q.m_bFixed || !SameNumber(p.m_dX, q.m_dX, exact) ||
                !SameNumber(p.m_dY, q.m_dY, exact) || !SameNumber(p.m_dVx, q.m_dVx, exact) ||
                !SameNumber(p.m_dVy, q.m_dVy, exact) || !SameNumber(p.m_dMass, q.m_dMass, exact))
                std::abort();
        }
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CSystemList first, second, third;
    if (!LoadSystemsFromFile(qvfuzz::InputFile(data, size), first)) std::abort();
    SaveAndCompare(first, second, false);
    SaveAndCompare(second, third, true);
    return 0;
}
