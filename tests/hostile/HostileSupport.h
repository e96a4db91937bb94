// Shared pieces of the hostile tests: a scratch folder, whole-file reads and
// writes, lists of systems, and work done in a child process.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <dirent.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <ftw.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "store/ConfigFile.h"

namespace hostile {

// The sanitizer build runs the biggest cases smaller.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// A fresh folder under /tmp, removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        char tmpl[] = "/tmp/qv-hostile-XXXXXX";
        const char* p = ::mkdtemp(tmpl);
        if (!p) ADD_FAILURE() << "mkdtemp failed";
        m_path = p ? p : "/tmp";
    }
    ~TempDir()
    {
        ::nftw(m_path.c_str(), [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
               FTW_DEPTH | FTW_PHYS);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

    // Every entry of the folder but "." and "..".
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> out;
        if (DIR* d = ::opendir(m_path.c_str())) {
            while (dirent* e = ::readdir(d)) {
                std::string n = e->d_name;
                if (n != "." && n != "..") out.push_back(n);
            }
            ::closedir(d);
        }
        return out;
    }

private:
    std::string m_path;
};

// Runs the test in a folder of its own, the working directory, as the main window expects.
class WorkingDir {
public:
    explicit WorkingDir(const std::string& path)
    {
        char buf[4096];
        m_old = ::getcwd(buf, sizeof buf) ? buf : "/";
        if (::chdir(path.c_str()) != 0) ADD_FAILURE() << "chdir " << path;
    }
    ~WorkingDir()
    {
        if (::chdir(m_old.c_str()) != 0) std::perror("chdir");
    }
    WorkingDir(const WorkingDir&) = delete;
    WorkingDir& operator=(const WorkingDir&) = delete;

private:
    std::string m_old;
};

inline std::string ReadBytes(const std::string& path)
{
    std::string out;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[1 << 16];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        std::fclose(f);
    }
    return out;
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    ASSERT_EQ(std::fclose(f), 0);
}

// nSystems systems named prefix0, prefix1, ..., each with nPlanets planets.
inline void FillList(CSystemList& list, const char* prefix, int nSystems, int nPlanets)
{
    list.SetSize(nSystems);
    for (int s = 0; s < nSystems; ++s) {
        CSystemDlg& sys = list[s];
        sys.m_strName.Format("%s%d", prefix, s);
        sys.m_nForceType = s % 3;
        sys.m_strForceParams = s % 3 ? "2.5" : "";
        sys.m_Planets.RemoveAll();
        for (int i = 0; i < nPlanets; ++i) {
            CPlanet p;
            p.m_strName.Format("%s-pianeta-%d", prefix, i);
            p.m_dX = 100.25 * i + s;
            p.m_dY = 300.5 - i;
            p.m_dVx = -1.125 * i;
            p.m_dVy = 0.0625 * s;
            p.m_dMass = 1 + i;
            p.m_bFixed = i == 0;
            p.m_nSpriteX = SpriteOffsetForMass(p.m_dMass);
            sys.m_Planets.Add(p);
        }
    }
}

// The file that SaveSystemsToFile writes for a list.
inline std::string SavedBytes(const CSystemList& list)
{
    TempDir dir;
    EXPECT_TRUE(SaveSystemsToFile((dir / "Quorvane.ini").c_str(), list));
    return ReadBytes(dir / "Quorvane.ini");
}

// Runs work in a child process and gives back its exit status and the text it returned.
struct ChildResult {
    int status = -1;  // exit code, or -1 when it did not exit normally
    std::string text;
};

inline ChildResult RunInChild(const std::function<std::pair<int, std::string>()>& work)
{
    ChildResult result;
    int fds[2];
    if (::pipe(fds) != 0) return result;
    std::fflush(nullptr);
    pid_t pid = ::fork();
    if (pid < 0) return result;
    if (pid == 0) {
        ::close(fds[0]);
        std::pair<int, std::string> r = work();
        size_t done = 0;
        while (done < r.second.size()) {
            ssize_t n = ::write(fds[1], r.second.data() + done, r.second.size() - done);
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        ::_exit(r.first);
    }
    ::close(fds[1]);
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buf, sizeof buf)) > 0) result.text.append(buf, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace hostile
