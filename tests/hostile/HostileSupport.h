// Saving under hostile conditions: work done in a child process, as an
// unprivileged user or in a mount namespace of its own.
#pragma once

#include <functional>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/store/StoreTestUtil.h"

namespace hostile {

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

}  // namespace hostile
