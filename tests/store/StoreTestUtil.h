// Scratch folders, whole files, and a readable dump of systems, for the tests of the store.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <charconv>
#include <string>

#include <gtest/gtest.h>

#include "store/ConfigFile.h"

// A fresh folder, removed with everything in it.
struct TempDir : QTemporaryDir {
    std::string operator/(const std::string& name) const { return path() + "/" + name; }
    std::string path() const { return QTemporaryDir::path().toStdString(); }
    // The names in the folder, hidden ones included, sorted and joined by blanks.
    std::string Entries() const
    {
        return QDir(QTemporaryDir::path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).join(' ').toStdString();
    }
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    QFile out(QString::fromStdString(path));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size())) << path;
}

// The file's bytes; "" when it cannot be read (a folder, nothing there).
inline std::string ReadBytes(const std::string& path)
{
    QFile in(QString::fromStdString(path));
    return in.open(QIODevice::ReadOnly) ? in.readAll().toStdString() : std::string();
}

// The systems that loading these bytes gives; each is reported as it is appended.
inline void LoadBytes(const std::string& bytes, CSystemList& systems)
{
    TempDir dir;
    WriteBytes(dir / "Quorvane.ini", bytes);
    int added = 0;
    ASSERT_TRUE(LoadSystemsFromFile((dir / "Quorvane.ini").c_str(), systems,
                                    [&](const CSystemDlg& s) { EXPECT_EQ(&s, &systems[added++]); }));
    EXPECT_EQ(added, systems.GetSize());
}

// The bytes that saving these systems gives.
inline std::string SaveBytes(const CSystemList& systems)
{
    TempDir dir;
    CString error;
    EXPECT_TRUE(SaveSystemsToFile((dir / "Quorvane.ini").c_str(), systems, &error)) << error.c_str();
    return ReadBytes(dir / "Quorvane.ini");
}

inline CPlanet MakePlanet(const CString& name, double x, double y, double vx, double vy, double mass, int fixed = 0)
{
    CPlanet p;
    p.m_strName = name;
    p.m_dX = x, p.m_dY = y, p.m_dVx = vx, p.m_dVy = vy, p.m_dMass = mass, p.m_bFixed = fixed;
    p.m_nSpriteX = SpriteOffsetForMass(mass);
    return p;
}

// "name x y vx vy mass fixed sprite", numbers in their shortest exact form.
inline std::string Dump(const CPlanet& p)
{
    std::string out = p.m_strName.str();
    char buf[32];
    for (double d : {p.m_dX, p.m_dY, p.m_dVx, p.m_dVy, p.m_dMass}) out += ' ' + std::string(buf, std::to_chars(buf, buf + 32, d).ptr);
    return out + ' ' + std::to_string(p.m_bFixed) + ' ' + std::to_string(p.m_nSpriteX);
}

// "[name] law params", then one line per planet.
inline std::string Dump(const CSystemDlg& s)
{
    std::string out = "[" + s.m_strName.str() + "] " + std::to_string(s.m_nForceType) + ' ' + s.m_strForceParams.str() + '\n';
    for (const CPlanet& p : s.m_Planets) out += ' ' + Dump(p) + '\n';
    return out;
}

inline std::string Dump(const CSystemList& systems)
{
    std::string out;
    for (int i = 0; i < systems.GetSize(); ++i) out += Dump(systems[i]);
    return out;
}
