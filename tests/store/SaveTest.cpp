// The file on disk is always one whole version: a save replaces it whole or
// leaves it as it was, and says why in Italian.
#include <csignal>
#include <dlfcn.h>
#include <random>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/time.h>

#include "tests/store/StoreTestUtil.h"


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

namespace {
std::string SaveError(const CSystemList& list, const std::string& path)
{
    CString error;
    return SaveSystemsToFile(path.c_str(), list, &error) ? "salvato" : error.str();
}
}  // namespace

TEST(Save, ReplacesTheTargetKeepingModeAndLinkAndClearsOnlyItsOwnOldLeftovers)
{
    TempDir dir;
    const std::string path = dir / "Quorvane.ini";
    WriteBytes(path, "[Vecchio]\n0\n\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640) | ::symlink("Quorvane.ini", (dir / "link.ini").c_str()), 0);
    // A killed save leaves a hidden temporary with the program's marker; the next
    // save removes those of its own file and user once they are old, never a
    // fresh one, another file's, or a file of the user's that looks like one.
    // Old is ten minutes or more: one five minutes old may be another instance's save in progress.
    const timeval hourAgo[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
    const timeval fiveMinutesAgo[2] = {{std::time(nullptr) - 300, 0}, {std::time(nullptr) - 300, 0}};
    for (const char* name : {".Quorvane.ini.~salvataggio~a1B2c3", ".Quorvane.ini.~salvataggio~d4E5f6", ".Altro.ini.~salvataggio~g7H8i9",
                             ".Quorvane.ini.backup", ".Quorvane.ini.vecchi", ".Quorvane.ini.~salvataggio~a1B2c3.copia",
                             ".Quorvane.ini.~salvataggio~altrui", ".Quorvane.ini.~salvataggio~j1K2l3"}) {
        WriteBytes(dir / name, "mezzo salvataggio");
        const std::string s = name;
        if (s != ".Quorvane.ini.~salvataggio~d4E5f6") {
            ASSERT_EQ(::utimes((dir / name).c_str(), s == ".Quorvane.ini.~salvataggio~j1K2l3" ? fiveMinutesAgo : hourAgo), 0);
        }
    }
    // Another user's leftover, and a link with the marker, which no save makes.
    ASSERT_EQ(::chown((dir / ".Quorvane.ini.~salvataggio~altrui").c_str(), ::geteuid() + 1, ::getegid()), 0);
    ASSERT_EQ(::symlink("Quorvane.ini", (dir / ".Quorvane.ini.~salvataggio~legame").c_str()), 0);
    ASSERT_EQ(::lutimes((dir / ".Quorvane.ini.~salvataggio~legame").c_str(), hourAgo), 0);
    struct stat st, link;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    const ino_t oldInode = st.st_ino;
    EXPECT_EQ(SaveError(MakeList("S", 2, 2), dir / "link.ini"), "salvato");
    const ino_t synced = g_syncedInode;
    EXPECT_EQ(ReadBytes(path), SaveBytes(MakeList("S", 2, 2)));
    ASSERT_EQ(::stat(path.c_str(), &st) | ::lstat((dir / "link.ini").c_str(), &link), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_TRUE(st.st_ino != oldInode && st.st_ino == synced);  // a new file, put on the disk first
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    EXPECT_EQ(dir.Entries(), ".Altro.ini.~salvataggio~g7H8i9 .Quorvane.ini.backup .Quorvane.ini.vecchi "
                             ".Quorvane.ini.~salvataggio~a1B2c3.copia .Quorvane.ini.~salvataggio~altrui "
                             ".Quorvane.ini.~salvataggio~d4E5f6 .Quorvane.ini.~salvataggio~j1K2l3 .Quorvane.ini.~salvataggio~legame "
                             "link.ini Quorvane.ini");
}

// Only a plain file is saved, and every name of it sees the new content: a
// FIFO or a device, even behind a link, is refused and left as it was; a file
// with hard links is rewritten in place.
TEST(Save, OnlyPlainFilesAndEveryNameOfThem)
{
    const std::string newBytes = SaveBytes(MakeList("Nuovo", 2, 2));
    for (const std::string what : {"fifo", "link to a fifo", "device", "link to a device", "hard link"}) {
        TempDir dir;
        // The node itself, or another name of it.
        const std::string path = dir / "Quorvane.ini", other = what.find("link") != std::string::npos ? dir / "altro" : path;
        // A private node of the null device: replacing it harms nothing outside this folder.
        const bool device = what.find("device") != std::string::npos;
        const int made = what.find("fifo") != std::string::npos ? ::mkfifo(other.c_str(), 0666)
                         : device ? ::mknod(other.c_str(), S_IFCHR | 0666, ::makedev(1, 3))
                                  : (WriteBytes(other, "[Vecchio]\n0\n\n"), ::link(other.c_str(), path.c_str()));
        if (made != 0 && device) {
            std::printf("[ skipped ] %s: no rights to make a device node\n", what.c_str());
            continue;
        }
        ASSERT_EQ(made | (what.find("link to") == 0 ? ::symlink("altro", path.c_str()) : 0), 0) << what;
        struct stat before, after;
        ASSERT_EQ(::lstat(other.c_str(), &before), 0);
        const std::string entries = dir.Entries();
        EXPECT_EQ(SaveError(MakeList("Nuovo", 2, 2), path),
                  what == "hard link" ? "salvato" : "Impossibile salvare il file \"" + path + "\": il nome non indica un file ordinario.")
            << what;
        ASSERT_EQ(::lstat(other.c_str(), &after), 0);
        EXPECT_TRUE(after.st_ino == before.st_ino && after.st_mode == before.st_mode) << what;
        EXPECT_EQ(dir.Entries(), entries) << what;
        EXPECT_TRUE(what != "hard link" || (ReadBytes(path) == newBytes && ReadBytes(other) == newBytes)) << what;
    }
}

// A failed save leaves the old file and no temporary, and says why. A file that
// cannot be replaced (its folder takes no new file, or it is another user's) is
// rewritten in place, keeping its owner.
TEST(SaveFailures, OldFileIntactNoTemporaryAndTheReasonInItalian)
{
    const std::string oldBytes = SaveBytes(MakeList("Vecchio", 3, 2));
    const CSystemList newList = MakeList("Nuovo", 2000, 4);
    const std::pair<std::string, std::string> rows[] = {
        {"full disk", "spazio su disco esaurito"}, {"read-only disk", "il disco è in sola lettura"},
        {"size limit", "file troppo grande"},      {"read-only file", "accesso negato"},
        {"read-only folder", "accesso negato"},    {"a folder", "il nome indica una cartella"},
        {"in a file", "errore di sistema 20 (Not a directory)"}, {"shared file, closed folder", ""},
        {"another user's file", ""}, {"in place, size limit", "file troppo grande"}};
    for (const auto& [what, reason] : rows) {
        TempDir dir;
        std::string path = dir / "Quorvane.ini";
        WriteBytes(path, oldBytes);
        const bool inPlace = what == "shared file, closed folder" || what == "another user's file" || what == "in place, size limit";
        ASSERT_EQ(::chmod(dir.path().c_str(), what == "read-only folder" || what == "shared file, closed folder" || what == "in place, size limit" ? 0555 : 0777), 0);
        ASSERT_EQ(::chmod(path.c_str(), what == "read-only file" ? 0444 : 0666), 0);
        if (what == "read-only folder" || what == "a folder") ::unlink(path.c_str());
        if (what == "a folder") ::mkdir(path.c_str(), 0777);
        if (what == "in a file") path += "/Quorvane.ini";
        const std::string old = ReadBytes(path), entries = dir.Entries();
        struct stat before, after;
        ::stat(path.c_str(), &before);
        const bool disk = what.find("disk") != std::string::npos, nobody = inPlace || what.find("read-only f") == 0;
        // Permissions do not bind root: those saves run as "nobody"; the others on a
        // disk of 64 KiB of their own (a tmpfs in a mount namespace of the child), or with a size limit.
        const ChildResult r = (nobody ? RunAsNobody : RunInChild)([&]() -> std::pair<int, std::string> {
            if (disk && (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                         ::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=64k,mode=0777") != 0))
                return {77, "no rights to mount a small file system"};
            if (disk) WriteBytes(path, old);
            if (what == "read-only disk" && ::mount(nullptr, dir.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
                return {1, "remount failed"};
            if (what.find("size limit") != std::string::npos) LimitFileSize(inPlace ? 16 : 64 * 1024);
            g_syncedInode = 0;
            const std::string error = SaveError(newList, path);
            struct stat st;
            const bool synced = ::stat(path.c_str(), &st) == 0 && st.st_ino == g_syncedInode;
            return {0, error + (ReadBytes(path) == old ? " intatto " : " cambiato ") + dir.Entries() + (synced ? " synced" : "")};
        });
        ::chmod(dir.path().c_str(), 0755);
        if (r.status == 77) {
            std::printf("[ skipped ] %s: %s\n", what.c_str(), r.text.c_str());
            continue;
        }
        EXPECT_EQ(r.text, reason.empty() ? "salvato cambiato Quorvane.ini synced"
                                         : "Impossibile salvare il file \"" + path + "\": " + reason + (inPlace ? ". cambiato " : ". intatto ") + entries)
            << what;
        EXPECT_TRUE(!reason.empty() || ReadBytes(path) == SaveBytes(newList)) << what;
        // In place: the same file, still its owner's.
        EXPECT_TRUE(!inPlace || (::stat(path.c_str(), &after) == 0 && after.st_ino == before.st_ino && after.st_uid == 0)) << what;
    }
}

// A child saves two versions in turn and is killed at random moments: the file
// is always one of them, and only its hidden temporary may be left.
TEST(CrashSafeSave, KilledAtRandomMomentsTheFileIsAlwaysOneWholeVersion)
{
    const CSystemList a = MakeList("A", 1000, 3), b = MakeList("B", 1000, 4);
    const std::string bytesA = SaveBytes(a), bytesB = SaveBytes(b);
    TempDir dir;
    const std::string path = dir / "Quorvane.ini";
    WriteBytes(path, bytesA);
    std::mt19937 rng(std::random_device{}());
    int trials = 0, seen[2] = {0, 0};
    for (const time_t end = std::time(nullptr) + 3; trials < 60 && (trials < 10 || std::time(nullptr) < end); ++trials) {
        int done[2], status = 0;
        ASSERT_EQ(::pipe(done), 0);
        const pid_t pid = ::fork();
        if (pid == 0)  // B first, so that any finished save changes the file; a byte after each
            for (int i = 0;; ++i)
                if (!SaveSystemsToFile(path.c_str(), i % 2 ? a : b) || ::write(done[1], "s", 1) != 1) ::_exit(3);
        // The kill falls after zero, one or two finished saves, somewhere in the next one.
        ::close(done[1]);
        char byte;
        for (int k = rng() % 3; k > 0 && ::read(done[0], &byte, 1) == 1; --k) {
        }
        ::usleep(rng() % 20000);
        ::kill(pid, SIGKILL), ::waitpid(pid, &status, 0), ::close(done[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child failed on its own";
        const std::string now = ReadBytes(path);
        ASSERT_TRUE(now == bytesA || now == bytesB) << "trial " << trials << ": " << now.size() << " bytes";
        ++seen[now == bytesB];
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            if (e.path().filename().string().rfind(".Quorvane.ini.", 0) == 0) std::filesystem::remove(e.path());
        ASSERT_EQ(dir.Entries(), "Quorvane.ini");
    }
    std::printf("[ kill-during-save ] %d trials: %d whole A, %d whole B\n", trials, seen[0], seen[1]);
}
