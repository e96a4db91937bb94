#include <QDir>
#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "StoreTestUtil.h"

namespace {
const char kOld[] = "[Vecchio]\n0\n\n";

CSystemList SomeSystems(int count, int planets)
{
    CSystemList list;
    list.SetSize(count);
    for (int i = 0; i < count; ++i) {
        list[i].m_strName = "Nuovo";
        for (int k = 0; k < planets; ++k) list[i].m_Planets.Add(MakePlanet("Pianeta", k, 2 * k, 0.5, -0.5, 3));
    }
    return list;
}

// Names in the folder, the hidden ones included: no temporary may be left behind.
int EntryCount(const TempDir& dir)
{
    return QDir(QString::fromStdString(dir.path())).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size();
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
    EXPECT_EQ(EntryCount(dir), 1);

    // Through a symbolic link: the target changes, the link stays a link.
    std::string link = dir / "collegamento.ini";
    ASSERT_EQ(::symlink("Quorvane.ini", link.c_str()), 0);
    ASSERT_TRUE(SaveSystemsToFile(link.c_str(), SomeSystems(2, 0), &error)) << error.c_str();
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes(path), "[Nuovo]\n0\n\n[Nuovo]\n0\n\n");
}

TEST(Save, FailuresLeaveTheOldFileAndNoTemporary)
{
    TempDir dir;
    std::string path = dir / "Quorvane.ini";
    WriteBytes(path, kOld);
    CString error;

    // A file size limit makes the writes fail part way, as a full disk would.
    struct rlimit saved, small;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    small = saved;
    small.rlim_cur = 64 * 1024;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    BOOL ok = SaveSystemsToFile(path.c_str(), SomeSystems(1000, 5), &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(ok);
    EXPECT_EQ(error.str(), "Impossibile salvare il file \"" + path + "\": file troppo grande.");
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(EntryCount(dir), 1);

    // A folder that cannot exist: its parent is a regular file (works even as root).
    EXPECT_FALSE(SaveSystemsToFile((path + "/Quorvane.ini").c_str(), SomeSystems(1, 1), &error));
    EXPECT_EQ(error.str().rfind("Impossibile salvare il file \"" + path + "/Quorvane.ini\"", 0), 0u) << error.c_str();
    EXPECT_EQ(ReadBytes(path), kOld);

    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    auto expectRefused = [&] {
        EXPECT_FALSE(SaveSystemsToFile(path.c_str(), SomeSystems(1, 1), &error));
        EXPECT_EQ(error.str(), "Impossibile salvare il file \"" + path + "\": accesso negato.");
        EXPECT_EQ(ReadBytes(path), kOld);
    };
    ::chmod(path.c_str(), 0444);  // the user marked the file read-only
    expectRefused();
    ::chmod(path.c_str(), 0644);
    ::chmod(dir.path().c_str(), 0555);  // or its folder
    expectRefused();
    ::chmod(dir.path().c_str(), 0755);
}
