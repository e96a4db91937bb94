// Shared pieces of the fuzz targets: the input as a file the store can open by
// name, and what any loaded list must satisfy.
#pragma once

#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "store/ConfigFile.h"

namespace qvfuzz {

// A memfd named /proc/self/fd/N, rewritten for every input: nothing on disk,
// and parallel jobs do not meet.
inline const char* InputFile(const uint8_t* data, size_t size)
{
    static const int fd = ::memfd_create("qv-fuzz-input", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 || (size && ::pwrite(fd, data, size, 0) != ssize_t(size))) std::abort();
    return path.c_str();
}

inline void CheckLoaded(const CSystemList& list)
{
    for (int s = 0; s < list.GetSize(); ++s) {
        const CSystemDlg& sys = list[s];
        // The name stops at the first "]"; no text holds a line end.
        if (sys.m_strName.str().find_first_of("]\n") != std::string::npos ||
            sys.m_strForceParams.str().find('\n') != std::string::npos ||
            (sys.m_nForceType <= 0 && !sys.m_strForceParams.IsEmpty()))
            std::abort();
        for (const CPlanet& p : sys.m_Planets) {
            // A name that would end the planet list cannot have been read as a planet.
            const std::string& name = p.m_strName.str();
            if (name.empty() || static_cast<unsigned char>(name[0]) <= 32 || name[0] == '[' ||
                name.find('\n') != std::string::npos || p.m_nSpriteX != SpriteOffsetForMass(p.m_dMass) ||
                p.m_nSpriteX < 0 || p.m_nSpriteX > 360 || p.m_nSpriteX % 40 != 0 || p.m_dFx != 0 || p.m_dFy != 0)
                std::abort();
        }
    }
}

}  // namespace qvfuzz
