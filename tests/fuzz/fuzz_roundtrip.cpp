// Whatever a file gives, saving it and loading it again gives the same
// systems: the same names (less a CR at a line's end, which the reader takes
// for part of the line end), force types, parameter texts and fixed flags, and
// every number as its six-decimal text reads back. A second save and load
// changes nothing more.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ftw.h>

#include "tests/fuzz/FuzzSupport.h"

namespace {

std::string g_dir;

void RemoveDir()
{
    if (g_dir.empty()) return;
    ::nftw(g_dir.c_str(), [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 8,
           FTW_DEPTH | FTW_PHYS);
}

std::string SixDecimals(double d)
{
    int n = std::snprintf(nullptr, 0, "%f", d);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(&s[0], s.size(), "%f", d);
    s.resize(static_cast<size_t>(n));
    return s;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The value that the saved text of d reads back as.
double Reread(double d) { return std::strtod(SixDecimals(d).c_str(), nullptr); }

std::string LessOneCr(const std::string& s)
{
    return (!s.empty() && s.back() == '\r') ? s.substr(0, s.size() - 1) : s;
}

// `after` is `before` saved and loaded again.
void CheckSaved(const CSystemList& before, const CSystemList& after)
{
    if (before.GetSize() != after.GetSize()) std::abort();
    for (int s = 0; s < before.GetSize(); ++s) {
        const CSystemDlg& a = before[s];
        const CSystemDlg& b = after[s];
        // A system name ends at "]", so the header's own "]" protects a final CR.
        if (a.m_strName != b.m_strName) std::abort();
        if (a.m_nForceType != b.m_nForceType) std::abort();
        if (LessOneCr(a.m_strForceParams.str()) != b.m_strForceParams.str()) std::abort();
        if (a.m_Planets.GetSize() != b.m_Planets.GetSize()) std::abort();
        for (int i = 0; i < a.m_Planets.GetSize(); ++i) {
            const CPlanet& p = a.m_Planets[i];
            const CPlanet& q = b.m_Planets[i];
            if (LessOneCr(p.m_strName.str()) != q.m_strName.str()) std::abort();
            if (!SameBits(Reread(p.m_dX), q.m_dX) || !SameBits(Reread(p.m_dY), q.m_dY) ||
                !SameBits(Reread(p.m_dVx), q.m_dVx) || !SameBits(Reread(p.m_dVy), q.m_dVy) ||
                !SameBits(Reread(p.m_dMass), q.m_dMass))
                std::abort();
            if (p.m_bFixed != q.m_bFixed) std::abort();
        }
    }
}

void SaveAndLoad(const CSystemList& from, CSystemList& to, const std::string& path)
{
    CString error;
    if (!SaveSystemsToFile(path.c_str(), from, &error)) {
        std::fprintf(stderr, "save failed: %s\n", error.c_str());
        std::abort();
    }
    if (!LoadSystemsFromFile(path.c_str(), to)) std::abort();
    qvfuzz::CheckLoaded(to);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char tmpl[] = "/dev/shm/qv-fuzz-roundtrip-XXXXXX";
    char tmpl2[] = "/tmp/qv-fuzz-roundtrip-XXXXXX";
    const char* dir = ::mkdtemp(tmpl);
    if (!dir) dir = ::mkdtemp(tmpl2);
    if (!dir) std::abort();
    g_dir = dir;
    std::atexit(RemoveDir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static qvfuzz::MemoryFile file;
    const std::string path = g_dir + "/Quorvane.ini";
    CSystemList first, second, third;
    if (!LoadSystemsFromFile(file.Set(data, size), first)) std::abort();
    SaveAndLoad(first, second, path);
    CheckSaved(first, second);
    SaveAndLoad(second, third, path);
    CheckSaved(second, third);
    // Numbers already rounded by one save do not move again.
    for (int s = 0; s < second.GetSize(); ++s)
        for (int i = 0; i < second[s].m_Planets.GetSize(); ++i) {
            const CPlanet& p = second[s].m_Planets[i];
            const CPlanet& q = third[s].m_Planets[i];
            if (!SameBits(p.m_dX, q.m_dX) || !SameBits(p.m_dY, q.m_dY) || !SameBits(p.m_dVx, q.m_dVx) ||
                !SameBits(p.m_dVy, q.m_dVy) || !SameBits(p.m_dMass, q.m_dMass))
                std::abort();
        }
    return 0;
}
