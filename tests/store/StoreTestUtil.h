// Temporary folders and files, and a readable dump of systems, for the store tests.
#pragma once

#include <QTemporaryDir>
#include <charconv>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "store/ConfigFile.h"

class TempDir {
public:
    std::string operator/(const std::string& name) const { return path() + "/" + name; }
    std::string path() const { return m_dir.path().toStdString(); }

private:
    QTemporaryDir m_dir;
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
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

inline CPlanet MakePlanet(const char* name, double x, double y, double vx, double vy, double mass, int fixed = 0)
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

// "name x y vx vy mass fixed sprite", numbers in their shortest exact form.
inline std::string Dump(const CPlanet& p)
{
    std::string out = p.m_strName.str();
    for (double d : {p.m_dX, p.m_dY, p.m_dVx, p.m_dVy, p.m_dMass}) {
        char buf[32];
        out += ' ' + std::string(buf, std::to_chars(buf, buf + sizeof buf, d).ptr);
    }
    return out + ' ' + std::to_string(p.m_bFixed) + ' ' + std::to_string(p.m_nSpriteX);
}

// "[name] law params", then one line per planet.
inline std::string Dump(const CSystemDlg& s)
{
    std::string out = "[" + s.m_strName.str() + "] " + std::to_string(s.m_nForceType) + ' ' + s.m_strForceParams.str() + '\n';
    for (int i = 0; i < s.m_Planets.GetSize(); ++i) out += ' ' + Dump(s.m_Planets[i]) + '\n';
    return out;
}

inline std::string Dump(const CSystemList& systems)
{
    std::string out;
    for (int i = 0; i < systems.GetSize(); ++i) out += Dump(systems[i]);
    return out;
}
