// Whatever a file gives, saving it and loading it again gives the same
// systems: the same names (less a CR at a line's end, which the reader takes
// for part of the line end), force types, parameter texts and fixed flags, and
// every number as its six-decimal text reads back. A second save and load
// changes nothing more.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "tests/fuzz/FuzzSupport.h"

namespace {

std::string g_dir;  // the saves go here: a real folder, since a save renames its temporary file

// The value that the saved six-decimal text of d reads back as.
double Reread(double d)
{
    char buf[512];  // %f of DBL_MAX has 316 characters
    std::snprintf(buf, sizeof buf, "%f", d);
    return std::strtod(buf, nullptr);
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string LessOneCr(const std::string& s) { return (!s.empty() && s.back() == '\r') ? s.substr(0, s.size() - 1) : s; }

// `after` is `before` saved and loaded again. With `exact`, numbers that one
// save has already rounded must not move again.
void CheckSaved(const CSystemList& before, const CSystemList& after, bool exact)
{
    if (before.GetSize() != after.GetSize()) std::abort();
    for (int s = 0; s < before.GetSize(); ++s) {
        const CSystemDlg& a = before[s];
        const CSystemDlg& b = after[s];
        // A system name ends at "]", so the header's own "]" protects a final CR.
        if (a.m_strName != b.m_strName || a.m_nForceType != b.m_nForceType ||
            LessOneCr(a.m_strForceParams.str()) != b.m_strForceParams.str() ||
            a.m_Planets.GetSize() != b.m_Planets.GetSize())
            std::abort();
        for (int i = 0; i < a.m_Planets.GetSize(); ++i) {
            const CPlanet& p = a.m_Planets[i];
            const CPlanet& q = b.m_Planets[i];
            if (LessOneCr(p.m_strName.str()) != q.m_strName.str() || p.m_bFixed != q.m_bFixed) std::abort();
            const double from[] = {p.m_dX, p.m_dY, p.m_dVx, p.m_dVy, p.m_dMass};
            const double to[] = {q.m_dX, q.m_dY, q.m_dVx, q.m_dVy, q.m_dMass};
            for (int k = 0; k < 5; ++k)
                if (!SameBits(Reread(from[k]), to[k]) || (exact && !SameBits(from[k], to[k]))) std::abort();
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
    char shm[] = "/dev/shm/qv-fuzz-roundtrip-XXXXXX", tmp[] = "/tmp/qv-fuzz-roundtrip-XXXXXX";
    const char* dir = ::mkdtemp(shm) ? shm : ::mkdtemp(tmp);
    if (!dir) std::abort();
    g_dir = dir;
    std::atexit([] {
        ::unlink((g_dir + "/Quorvane.ini").c_str());
        ::rmdir(g_dir.c_str());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static qvfuzz::MemoryFile file;
    const std::string path = g_dir + "/Quorvane.ini";
    CSystemList first, second, third;
    if (!LoadSystemsFromFile(file.Set(data, size), first)) std::abort();
    SaveAndLoad(first, second, path);
    CheckSaved(first, second, false);
    SaveAndLoad(second, third, path);
    CheckSaved(second, third, true);
    return 0;
}
