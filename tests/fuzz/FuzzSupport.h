// Shared pieces of the fuzz targets: the input as a file that the store can
// open by name, and a comparison of loaded lists.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "store/ConfigFile.h"

namespace qvfuzz {

// A file in memory with a name: /proc/self/fd/N of a memfd, rewritten for
// every input, so that nothing is left on disk and parallel jobs do not meet.
class MemoryFile {
public:
    MemoryFile() : m_fd(::memfd_create("qv-fuzz-input", 0)), m_path("/proc/self/fd/" + std::to_string(m_fd))
    {
        if (m_fd < 0) std::abort();
    }
    const char* Set(const uint8_t* data, size_t size)
    {
        if (::ftruncate(m_fd, 0) != 0) std::abort();
        for (size_t done = 0; done < size;) {
            const ssize_t n = ::pwrite(m_fd, data + done, size - done, static_cast<off_t>(done));
            if (n <= 0) std::abort();
            done += static_cast<size_t>(n);
        }
        return m_path.c_str();
    }

private:
    int m_fd;  // a static of the target: the process's exit closes it
    std::string m_path;
};

// What any loaded list must satisfy, whatever the bytes were.
inline void CheckLoaded(const CSystemList& list)
{
    for (int s = 0; s < list.GetSize(); ++s) {
        const CSystemDlg& sys = list[s];
        // The name stops at the first "]" and never holds a line end.
        if (sys.m_strName.str().find_first_of("]\n") != std::string::npos) std::abort();
        if (sys.m_strForceParams.str().find('\n') != std::string::npos) std::abort();
        if (sys.m_nForceType <= 0 && !sys.m_strForceParams.IsEmpty()) std::abort();
        for (const CPlanet& p : sys.m_Planets) {
            const std::string& name = p.m_strName.str();
            // A name that would end the planet list cannot have been read as a planet.
            if (name.empty() || static_cast<unsigned char>(name[0]) <= 32 || name[0] == '[') std::abort();
            if (name.find('\n') != std::string::npos) std::abort();
            if (p.m_nSpriteX < 0 || p.m_nSpriteX > 360 || p.m_nSpriteX % 40 != 0) std::abort();
            if (p.m_nSpriteX != SpriteOffsetForMass(p.m_dMass)) std::abort();
            if (p.m_dFx != 0.0 || p.m_dFy != 0.0) std::abort();
        }
    }
}

}  // namespace qvfuzz
