// Shared pieces of the hostile tests: a scratch folder, whole-file reads and
// writes, lists of systems, and work done in a child process.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <ftw.h>
#include <functional>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "app/MainDlg.h"
#include "res/resource.h"
#include "store/ConfigFile.h"

namespace hostile {

// The sanitizer build runs the biggest cases smaller.
#ifndef __has_feature
#define __has_feature(x) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// A fresh folder under /tmp, removed with everything in it; with `enter`, also
// the working directory meanwhile, where the main window keeps its file.
class TempDir {
public:
    explicit TempDir(bool enter = false)
    {
        char tmpl[] = "/tmp/qv-hostile-XXXXXX", cwd[4096];
        m_path = ::mkdtemp(tmpl) ? tmpl : "";
        EXPECT_FALSE(m_path.empty()) << "mkdtemp";
        if (enter && ::getcwd(cwd, sizeof cwd)) m_old = cwd;
        if (enter && ::chdir(m_path.c_str()) != 0) ADD_FAILURE() << "chdir " << m_path;
    }
    ~TempDir()
    {
        if (!m_old.empty() && ::chdir(m_old.c_str()) != 0) std::perror("chdir");
        if (m_path.empty()) return;
        ::nftw(m_path.c_str(), [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
               FTW_DEPTH | FTW_PHYS);
    }
    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }
    std::vector<std::string> Entries() const  // all but "." and ".."
    {
        std::vector<std::string> out;
        if (DIR* d = ::opendir(m_path.c_str())) {
            while (dirent* e = ::readdir(d))
                if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") out.push_back(e->d_name);
            ::closedir(d);
        }
        return out;
    }

private:
    std::string m_path, m_old;
};

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream f(path, std::ios::binary);
    ASSERT_TRUE(f.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) << path;
}

// nSystems systems named prefix0, prefix1, ..., each with nPlanets planets.
inline CSystemList MakeList(const char* prefix, int nSystems, int nPlanets)
{
    CSystemList list;
    list.SetSize(nSystems);
    for (int s = 0; s < nSystems; ++s) {
        list[s].m_strName.Format("%s%d", prefix, s);
        for (int i = 0; i < nPlanets; ++i) {
            CPlanet p;
            p.m_strName.Format("%s-pianeta-%d", prefix, i);
            p.m_dX = 100.25 * i + s;
            p.m_dMass = 1 + i;
            list[s].m_Planets.Add(p);
        }
    }
    return list;
}

// The file that SaveSystemsToFile writes for a list.
inline std::string SavedBytes(const CSystemList& list)
{
    TempDir dir;
    EXPECT_TRUE(SaveSystemsToFile((dir / "Quorvane.ini").c_str(), list));
    return ReadBytes(dir / "Quorvane.ini");
}

// Runs work in a child; gives back its exit code (-1 if it did not exit) and the short text it returned.
struct ChildResult {
    int status = -1;
    std::string text;
};

inline ChildResult RunInChild(const std::function<std::pair<int, std::string>()>& work)
{
    ChildResult result;
    int fds[2];
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
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.status = WEXITSTATUS(status);
    return result;
}

// Shows the main window; `shown` runs once it is up and must close it. Gives
// back the texts of the message boxes, each answered with `answer`.
inline std::vector<std::string> RunMainWindow(CMainDlg& dlg, int answer, const std::function<void(CDialog&)>& shown)
{
    std::vector<std::string> boxes;
    QvSetMessageBoxHook([&](const CString& text, UINT) {
        boxes.push_back(text.str());
        return answer;
    });
    QvSetDialogOpenedHook([&](CDialog& d) {
        if (d.GetTemplateId() == IDD_QUORVANE_DIALOG) shown(d);
    });
    dlg.DoModal();
    QvSetDialogOpenedHook(nullptr);
    QvSetMessageBoxHook(nullptr);
    return boxes;
}

}  // namespace hostile
