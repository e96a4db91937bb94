// Scratch folders, whole files, and a readable dump of systems, for the tests of the store.
#pragma once

#include <sys/resource.h>

#include <charconv>
#include <csignal>
#include <fstream>
#include <functional>
#include <cstdio>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>
#include <string>

#include <gtest/gtest.h>

#include "store/ConfigFile.h"
#include "support/TempDir.h"

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && out.flush()) << path;
}

// The file's bytes; "" when it cannot be read (a folder, nothing there).
inline std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[65536];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
        if (std::ferror(f)) bytes.clear();
        std::fclose(f);
    }
    return bytes;
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


// nSystems systems named prefix0, prefix1, ..., each with nPlanets planets.
inline CSystemList MakeList(const char* prefix, int nSystems, int nPlanets)
{
    CSystemList list;
    list.SetSize(nSystems);
    for (int s = 0; s < nSystems; ++s) {
        list[s].m_strName.Format("%s%d", prefix, s);
        for (int i = 0; i < nPlanets; ++i) list[s].m_Planets.Add(MakePlanet("Pianeta", 100.25 * i + s, 0, 0, 0, 1 + i));
    }
    return list;
}

// Runs work in a child; gives back its exit code (-1 if it did not exit) and the text it returned.
struct ChildResult {
    int status = -1;
    std::string text;
};

inline ChildResult RunInChild(const std::function<std::pair<int, std::string>()>& work)
{
    ChildResult result;
    int fds[2], status = 0;
    if (::pipe(fds) != 0) return result;
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const std::pair<int, std::string> r = work();
        ::_exit(::write(fds[1], r.second.data(), r.second.size()) == ssize_t(r.second.size()) ? r.first : 99);
    }
    ::close(fds[1]);
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) result.text.append(buf, static_cast<size_t>(n));
    ::close(fds[0]);
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.status = WEXITSTATUS(status);
    return result;
}

// RunInChild as user and group 65534 ("nobody") when started as root, since
// permissions do not bind root; status 77 when the rights cannot be dropped.
inline ChildResult RunAsNobody(const std::function<std::pair<int, std::string>()>& work)
{
    return RunInChild([&]() -> std::pair<int, std::string> {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            return {77, "cannot drop root rights"};
        return work();
    });
}

// Files may not grow past `bytes`: writes beyond fail as on a full disk. Gives the old limit.
inline rlimit LimitFileSize(rlim_t bytes)
{
    rlimit old, limit = {bytes, RLIM_INFINITY};
    std::signal(SIGXFSZ, SIG_IGN);
    return ::getrlimit(RLIMIT_FSIZE, &old), limit.rlim_max = old.rlim_max, ::setrlimit(RLIMIT_FSIZE, &limit), old;
}
