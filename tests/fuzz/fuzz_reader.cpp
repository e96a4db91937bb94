// Arbitrary bytes as the configuration file, loaded whole.
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CSystemList systems;
    int added = 0;
    if (!LoadSystemsFromFile(qvfuzz::InputFile(data, size), systems, [&added](const CSystemDlg&) { ++added; }) ||
        added != systems.GetSize())
        std::abort();
    qvfuzz::CheckLoaded(systems);
    return 0;
}
