// Whatever a file gives, saving and loading it again gives the same systems
// and planets, and a second save writes the same bytes: one save has rounded
// every number to its six-decimal text, and nothing moves after that.
#include <fstream>
#include <iterator>

#include "tests/fuzz/FuzzSupport.h"

namespace {
// The saved bytes, less the CRs before a line end, which the reader takes for part of it.
std::string SaveAndLoad(const CSystemList& from, CSystemList& to)
{
    static char dir[] = "/dev/shm/qv-fuzz-XXXXXX";  // a real folder: a save renames its temporary file
    static const std::string path = std::string(::mkdtemp(dir) ? dir : (std::abort(), "")) + "/Quorvane.ini";
    static const int cleanup = std::atexit([] { ::unlink(path.c_str()), ::rmdir(dir); });
    if (cleanup != 0 || !SaveSystemsToFile(path.c_str(), from) || !LoadSystemsFromFile(path.c_str(), to) ||
        from.GetSize() != to.GetSize())
        std::abort();
    qvfuzz::CheckLoaded(to);
    for (int s = 0; s < from.GetSize(); ++s)
        if (from[s].m_strName != to[s].m_strName || from[s].m_nForceType != to[s].m_nForceType ||
            from[s].m_Planets.GetSize() != to[s].m_Planets.GetSize())
            std::abort();
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    for (auto it = std::istreambuf_iterator<char>(in); it != std::istreambuf_iterator<char>(); ++it) {
        while (*it == '\n' && !bytes.empty() && bytes.back() == '\r') bytes.pop_back();
        bytes += *it;
    }
    return bytes;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CSystemList first, second, third;
    if (!LoadSystemsFromFile(qvfuzz::InputFile(data, size), first) || SaveAndLoad(first, second) != SaveAndLoad(second, third))
        std::abort();
    return 0;
}
