#include <csignal>
#include <dirent.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "StoreTestUtil.h"

namespace {
const char kOld[] = "[Vecchio]\n0\n\n";

CSystemList SomeSystems(int count, int planets)
{
    CSystemList list;
    list.SetSize(count);
    for (int i = 0; i < count; ++i) {
        list[i].m_strName = "Nuovo";
        for (int k = 0; k < planets; ++k) list[i].m_Planets.Add(MakePlanet("Pianeta", k, 2 * k, 0.5, -0.5, 3, 0));
    }
    return list;
}

// Names in the folder, the hidden ones included.
int EntryCount(const std::string& dir)
{
    int n = 0;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") ++n;
        ::closedir(d);
    }
    return n;
}
}  // namespace

TEST(Save, ReplacesWholeKeepsPermissionsAndFollowsLinks)
{
    TempDir dir;
    std::string path = dir / "Quorvane.ini";
    WriteBytes(path, kOld);
    ::chmod(path.c_str(), 0640);
    CString error;
    ASSERT_TRUE(SaveSystemsToFile(path.c_str(), SomeSystems(1, 0), &error)) << error.c_str();
    EXPECT_EQ(ReadBytes(path), "[Nuovo]\n0\n\n");
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(EntryCount(dir.path()), 1);  // no temporary left behind

    // Through a symbolic link: the target changes, the link stays a link.
    std::string link = dir / "collegamento.ini";
    ASSERT_EQ(::symlink("Quorvane.ini", link.c_str()), 0);
    ASSERT_TRUE(SaveSystemsToFile(link.c_str(), SomeSystems(2, 0), &error)) << error.c_str();
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes(path), "[Nuovo]\n0\n\n[Nuovo]\n0\n\n");
}

TEST(Save, UnwritablePlacesLeaveTheOldFile)
{
    TempDir dir;
    CString error;

    // A folder that cannot exist: its parent is a regular file (works even as root).
    WriteBytes(dir / "file", kOld);
    EXPECT_FALSE(SaveSystemsToFile((dir / "file/Quorvane.ini").c_str(), SomeSystems(1, 1), &error));
    EXPECT_NE(error.str().find("Impossibile salvare il file \""), std::string::npos) << error.c_str();
    EXPECT_NE(error.str().find("file/Quorvane.ini\""), std::string::npos) << error.c_str();
    EXPECT_EQ(ReadBytes(dir / "file"), kOld);

    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";

    std::string sub = dir / "sola-lettura";
    ::mkdir(sub.c_str(), 0755);
    std::string inSub = sub + "/Quorvane.ini";
    WriteBytes(inSub, kOld);
    ::chmod(sub.c_str(), 0555);
    error.Empty();
    EXPECT_FALSE(SaveSystemsToFile(inSub.c_str(), SomeSystems(1, 1), &error));
    EXPECT_EQ(error.str(), "Impossibile salvare il file \"" + inSub + "\": accesso negato.");
    EXPECT_EQ(ReadBytes(inSub), kOld);
    ::chmod(sub.c_str(), 0755);

    // The folder is writable but the user marked the file read-only.
    std::string ro = dir / "Quorvane.ini";
    WriteBytes(ro, kOld);
    ::chmod(ro.c_str(), 0444);
    error.Empty();
    EXPECT_FALSE(SaveSystemsToFile(ro.c_str(), SomeSystems(1, 1), &error));
    EXPECT_EQ(error.str(), "Impossibile salvare il file \"" + ro + "\": accesso negato.");
    EXPECT_EQ(ReadBytes(ro), kOld);
}

TEST(Save, WriteFailureLeavesTheOldFileAndNoTemporary)
{
    TempDir dir;
    std::string path = dir / "Quorvane.ini";
    WriteBytes(path, kOld);

    // A file size limit makes the writes fail part way, as a full disk would.
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    CString error;
    BOOL ok = SaveSystemsToFile(path.c_str(), SomeSystems(1000, 5), &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(ok);
    EXPECT_EQ(error.str(), "Impossibile salvare il file \"" + path + "\": file troppo grande.");
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(EntryCount(dir.path()), 1);
}
