// Saving under hostile conditions: the process killed in the middle of a save,
// a full disk, a read-only disk, file or folder. The file on disk is always one
// whole version, the failure is reported, and the main window keeps its list.
#include <chrono>
#include <csignal>
#include <cstring>
#include <grp.h>
#include <random>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/time.h>

#include "tests/hostile/HostileSupport.h"

using namespace hostile;
using namespace std::string_literals;

namespace {

std::string SaveError(const CSystemList& list, const std::string& path)
{
    CString error;
    return SaveSystemsToFile(path.c_str(), list, &error) ? "saved" : error.str();
}

std::string Expected(const std::string& path, const std::string& reason)
{
    return "Impossibile salvare il file \"" + path + "\": " + reason + ".";
}

// Forks a child that runs body for ever, kills it after wait(), and reaps it; true if it died by the kill.
template <typename Body, typename Wait> bool KillDuring(Body body, Wait wait)
{
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        body();
        ::_exit(5);
    }
    wait();
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

}  // namespace

TEST(CrashSafeSave, KilledAtRandomMomentsTheFileIsAlwaysOneWholeVersion)
{
    // Two versions of a few thousand systems, of different lengths.
    const CSystemList a = MakeList("A", kSanitized ? 1000 : 3000, 3), b = MakeList("B", kSanitized ? 1000 : 3000, 4);
    const std::string bytesA = SavedBytes(a), bytesB = SavedBytes(b);
    ASSERT_NE(bytesA.size(), bytesB.size());

    TempDir dir;
    const std::string path = dir / "Quorvane.ini";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(SaveSystemsToFile(path.c_str(), a));
    const long saveMicros = std::max<long>(
        1000, std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count());

    std::mt19937 rng(std::random_device{}());
    std::uniform_int_distribution<int> completed(0, 2);
    std::uniform_int_distribution<long> delay(0, 2 * saveMicros);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int trials = 0, wholeA = 0, wholeB = 0, leftovers = 0;
    while (trials < 200 && std::chrono::steady_clock::now() < deadline) {
        int done[2];
        ASSERT_EQ(::pipe(done), 0);
        // B first, so that any finished save changes the file; one byte on the
        // pipe after each. The kill falls after zero, one or two finished saves,
        // at a random moment of the next one (or of the pause before it).
        const bool killed = KillDuring(
            [&] {
                ::close(done[0]);
                for (int i = 0;; ++i)
                    if (!SaveSystemsToFile(path.c_str(), i % 2 ? a : b) || ::write(done[1], "s", 1) != 1) ::_exit(3);
            },
            [&] {
                ::close(done[1]);
                char byte;
                for (int k = completed(rng); k > 0; --k)
                    if (::read(done[0], &byte, 1) != 1) break;
                ::usleep(static_cast<useconds_t>(delay(rng)));
            });
        ::close(done[0]);
        ASSERT_TRUE(killed) << "the saving child failed on its own";
        ++trials;

        const std::string now = ReadBytes(path);
        wholeA += now == bytesA;
        wholeB += now == bytesB;
        if (now != bytesA && now != bytesB) {
            ADD_FAILURE() << "trial " << trials << ": the file is neither version (" << now.size() << " bytes)";
            break;
        }
        // A killed save leaves its hidden temporary file; nothing else may appear.
        for (const std::string& name : dir.Entries()) {
            if (name == "Quorvane.ini") continue;
            EXPECT_EQ(name.rfind(".Quorvane.ini.", 0), 0u) << name;
            ++leftovers;
            ::unlink((dir / name).c_str());
        }
    }
    std::printf("[ kill-during-save ] %d trials (one save %.1f ms): %d whole A, %d whole B; %d temporaries left\n",
                trials, saveMicros / 1000.0, wholeA, wholeB, leftovers);
    EXPECT_GE(trials, 20);
    EXPECT_GT(wholeA, 0);  // the kills hit both before and after completed saves
    EXPECT_GT(wholeB, 0);

    // Control: the same kills against a plain rewrite in place do cut the
    // file, so the check above can tell.
    int torn = 0;
    for (int t = 0; t < 20 && torn == 0; ++t) {
        KillDuring(
            [&] {
                for (int i = 0;; ++i) WriteBytes(path, i % 2 ? bytesA : bytesB);
            },
            [&] { ::usleep(static_cast<useconds_t>(5000 + delay(rng) / 4)); });
        const std::string now = ReadBytes(path);
        torn += now != bytesA && now != bytesB;
    }
    EXPECT_GT(torn, 0);
}

TEST(SaveFailures, FullAndReadOnlyDiskReadOnlyFileAndFolder)
{
    TempDir dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
    const std::string path = dir / "Quorvane.ini";
    // big: far more than the small disk below holds.
    const CSystemList small = MakeList("Vecchio", 3, 2), big = MakeList("Nuovo", 2000, 4);
    const std::string oldBytes = SavedBytes(small);

    // A disk of 64 KiB of our own: a private tmpfs in a mount namespace of a child.
    const ChildResult disk = RunInChild([&]() -> std::pair<int, std::string> {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", dir.Path().c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0)
            return {77, ""};
        if (!SaveSystemsToFile(path.c_str(), small)) return {1, "the small save failed"};
        std::string out = SaveError(big, path) + (ReadBytes(path) == oldBytes ? " intact " : " changed ");
        out += std::to_string(dir.Entries().size()) + "\n";  // no temporary file left
        if (::mount(nullptr, dir.Path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return {1, "remount failed"};
        return {0, out + SaveError(small, path) + (ReadBytes(path) == oldBytes ? " intact" : " changed")};
    });
    if (disk.status == 77) {
        std::printf("[ skipped ] no rights to mount a small file system here\n");
    } else {
        EXPECT_EQ(disk.status, 0) << disk.text;
        EXPECT_EQ(disk.text, Expected(path, "spazio su disco esaurito") + " intact 1\n" +
                                 Expected(path, "il disco è in sola lettura") + " intact");
    }

    // A read-only file, then a read-only folder. Permissions do not stop root:
    // the saves run in a child as "nobody".
    ASSERT_TRUE(SaveSystemsToFile(path.c_str(), small));
    for (const auto& modes : {std::pair<mode_t, mode_t>{0444, 0777}, {0666, 0555}}) {
        ASSERT_EQ(::chmod(path.c_str(), modes.first), 0);
        ASSERT_EQ(::chmod(dir.Path().c_str(), modes.second), 0);
        const ChildResult r = RunInChild([&]() -> std::pair<int, std::string> {
            if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                return {77, "cannot drop root rights"};
            return {0, SaveError(big, path)};
        });
        if (r.status == 77) GTEST_SKIP() << r.text;
        EXPECT_EQ(r.text, Expected(path, "accesso negato")) << std::oct << modes.first << " " << modes.second;
        EXPECT_EQ(ReadBytes(path), oldBytes);
    }
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Quorvane.ini"});

    // A folder that is a file cannot hold anything, whoever asks.
    WriteBytes(dir / "cartella", "non una cartella");
    const std::string inFile = dir / "cartella/Quorvane.ini";
    EXPECT_EQ(SaveError(big, inFile), Expected(inFile, "errore di sistema 20 ("s + std::strerror(ENOTDIR) + ")"));
    EXPECT_EQ(ReadBytes(dir / "cartella"), "non una cartella");
}

TEST(SaveFailures, MainWindowReportsAFailedSaveAndKeepsTheChangedList)
{
    TempDir dir(true);
    ASSERT_TRUE(SaveSystemsToFile("Quorvane.ini", MakeList("Sistema ", 3, 30)));
    const std::string oldBytes = ReadBytes("Quorvane.ini");
    ASSERT_GT(oldBytes.size(), 6000u);

    CMainDlg dlg;
    const std::vector<std::string> boxes = RunMainWindow(dlg, IDYES, [&](CDialog& d) {
        // No file may grow past 2 KB: the rewrite after the deletion fails.
        struct rlimit old;
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
        const struct rlimit tiny = {2048, old.rlim_max};
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
        dlg.OnDeleteSystem();
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(dlg.m_cbSystems.GetCount(), 2);
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(boxes, (std::vector<std::string>{"Eliminare la configurazione selezionata?",
                                               Expected("Quorvane.ini", "file troppo grande")}));
    ASSERT_EQ(dlg.m_Systems.GetSize(), 2);
    EXPECT_EQ(dlg.m_Systems[0].m_strName, "Sistema 1");
    EXPECT_EQ(dlg.m_Systems[1].m_strName, "Sistema 2");
    EXPECT_EQ(dlg.m_Systems[1].m_Planets.GetSize(), 30);
    EXPECT_EQ(ReadBytes("Quorvane.ini"), oldBytes);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Quorvane.ini"});
}

TEST(CrashSafeSave, LeftoversOfKilledSavesGoOnceTheyAreOld)
{
    TempDir dir;
    // Only the old leftover of this very file goes; one that another save may
    // still be writing, and those of other files, stay.
    const struct {
        const char* name;
        bool old, goes;
    } files[] = {{".Quorvane.ini.a1B2c3", true, true},
                 {".Quorvane.ini.d4E5f6", false, false},
                 {".Altro.ini.g7H8i9", true, false}};
    const timeval hourAgo[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
    for (const auto& f : files) {
        WriteBytes(dir / f.name, "half a save");
        ASSERT_EQ(f.old ? ::utimes((dir / f.name).c_str(), hourAgo) : 0, 0) << f.name;
    }
    const CSystemList list = MakeList("S", 2, 2);
    ASSERT_TRUE(SaveSystemsToFile((dir / "Quorvane.ini").c_str(), list));
    EXPECT_EQ(ReadBytes(dir / "Quorvane.ini"), SavedBytes(list));
    for (const auto& f : files) EXPECT_EQ(::access((dir / f.name).c_str(), F_OK) != 0, f.goes) << f.name;
}
