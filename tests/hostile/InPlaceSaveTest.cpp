// Saves where the file cannot be replaced: a shared file in a folder that takes
// no new file, another user's file. Permissions do not stop root, so each save
// runs in a child as "nobody".
#include <gtest/gtest.h>

#include <csignal>
#include <dlfcn.h>
#include <sys/resource.h>

#include "tests/hostile/HostileSupport.h"

using namespace hostile;

namespace {
ino_t g_syncedInode = 0;  // the last plain file put on the disk
}

// Every fsync of the program passes here, so that a test sees which file was synced.
extern "C" int fsync(int fd)
{
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) g_syncedInode = st.st_ino;
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

TEST(InPlaceSave, FilesThatCannotBeReplacedAreRewrittenInPlaceForTheirOwner)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to make files of another user";
    const uid_t nobody = 65534;
    // The new content is shorter than the old: a rewrite must cut the file.
    const CSystemList newList = MakeList("Nuovo", 1, 1);
    const std::string oldBytes = SaveBytes(MakeList("Vecchio", 3, 5)), newBytes = SaveBytes(newList);
    const struct {
        const char* what;
        mode_t dirMode;
        uid_t owner;
        bool inPlace;
        rlim_t maxFileSize;
    } cases[] = {
        {"own file: replaced whole", 0777, nobody, false, RLIM_INFINITY},
        {"shared file in a closed folder", 0555, 0, true, RLIM_INFINITY},
        {"another user's file in an open folder", 0777, 0, true, RLIM_INFINITY},
        {"a failed rewrite in place", 0555, 0, true, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string path = dir / "Quorvane.ini";
        WriteBytes(path, oldBytes);
        ASSERT_EQ(::chown(path.c_str(), c.owner, c.owner), 0);
        ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
        ASSERT_EQ(::chmod(dir.path().c_str(), c.dirMode), 0);
        struct stat before, after;
        ASSERT_EQ(::stat(path.c_str(), &before), 0);

        const ChildResult r = RunAsNobody([&]() -> std::pair<int, std::string> {
            const struct rlimit limit = {c.maxFileSize, RLIM_INFINITY};
            std::signal(SIGXFSZ, SIG_IGN);
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return {1, "cannot limit the file size"};
            CString error;
            if (!SaveSystemsToFile(path.c_str(), newList, &error)) return {0, error.str()};
            struct stat st;
            return {0, ::stat(path.c_str(), &st) == 0 && st.st_ino == g_syncedInode ? "synced" : "not synced"};
        });
        EXPECT_EQ(r.status, 0) << r.text;
        if (c.maxFileSize == RLIM_INFINITY) {
            EXPECT_EQ(r.text, "synced");
            EXPECT_EQ(ReadBytes(path), newBytes);
        } else {
            EXPECT_EQ(r.text, "Impossibile salvare il file \"" + path + "\": file troppo grande.");
        }
        ASSERT_EQ(::stat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino == before.st_ino, c.inPlace);
        EXPECT_EQ(after.st_uid, c.owner);
        EXPECT_EQ(after.st_gid, c.owner);
        EXPECT_EQ(after.st_mode & 07777, 0666u);
        EXPECT_EQ(dir.Entries(), "Quorvane.ini");
    }
}
