// What the page asks of the program outside its windows (platform/web/js/storage.js).
#include <emscripten.h>

#include "store/ConfigFile.h"

// How many systems the file gives, as the main window would list them; -1
// when it cannot be read. A picked file replaces the stored one only if it
// gives some, and the question names both counts.
extern "C" EMSCRIPTEN_KEEPALIVE int qv_count_systems(const char* path)
{
    CSystemList systems;
    return LoadSystemsFromFile(path, systems) ? systems.GetSize() : -1;
}
