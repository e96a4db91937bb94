// Arbitrary bytes as the configuration file, loaded whole.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static qvfuzz::MemoryFile file;
    const char* path = file.Set(data, size);
    CSystemList systems;
    int added = 0;
    if (!LoadSystemsFromFile(path, systems, [&added](const CSystemDlg&) { ++added; })) std::abort();
    if (added != systems.GetSize()) std::abort();
    qvfuzz::CheckLoaded(systems);
    return 0;
}
