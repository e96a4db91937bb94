// Temporary folders and files for the store tests.
#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "store/ConfigFile.h"

class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/qvstore.XXXXXX";
        const char* dir = ::mkdtemp(pattern);
        m_path = dir ? dir : "/tmp";
    }
    ~TempDir()
    {
        std::string cmd = "chmod -R u+w '" + m_path + "' 2>/dev/null; rm -rf '" + m_path + "'";
        if (std::system(cmd.c_str()) != 0) {
        }
    }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The systems that loading these bytes gives.
inline void LoadBytes(const std::string& bytes, CSystemList& systems)
{
    TempDir dir;
    WriteBytes(dir / "Quorvane.ini", bytes);
    ASSERT_TRUE(LoadSystemsFromFile((dir / "Quorvane.ini").c_str(), systems));
}

// The bytes that saving these systems gives.
inline std::string SaveBytes(const CSystemList& systems)
{
    TempDir dir;
    CString error;
    EXPECT_TRUE(SaveSystemsToFile((dir / "Quorvane.ini").c_str(), systems, &error)) << error.c_str();
    return ReadBytes(dir / "Quorvane.ini");
}

inline CPlanet MakePlanet(const char* name, double x, double y, double vx, double vy, double mass, int fixed)
{
    CPlanet p;
    p.m_strName = name;
    p.m_dX = x;
    p.m_dY = y;
    p.m_dVx = vx;
    p.m_dVy = vy;
    p.m_dMass = mass;
    p.m_bFixed = fixed;
    p.m_nSpriteX = SpriteOffsetForMass(mass);
    return p;
}
