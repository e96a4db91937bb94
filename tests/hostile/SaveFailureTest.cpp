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

#include "app/MainDlg.h"
#include "res/resource.h"
#include "tests/hostile/HostileSupport.h"

using namespace hostile;

namespace {

std::string SaveError(const CSystemList& list, const std::string& path)
{
    CString error;
    if (SaveSystemsToFile(path.c_str(), list, &error)) return "saved";
    return error.str();
}

std::string Expected(const std::string& path, const char* reason)
{
    return "Impossibile salvare il file \"" + path + "\": " + reason + ".";
}

}  // namespace

TEST(CrashSafeSave, KilledAtRandomMomentsTheFileIsAlwaysOneWholeVersion)
{
    // Two versions of a few thousand systems, of different lengths.
    CSystemList a, b;
    const int nSystems = kSanitized ? 1000 : 3000;
    FillList(a, "A", nSystems, 3);
    FillList(b, "B", nSystems, 4);
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
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // B first, so that any finished save changes the file; one byte
            // on the pipe after each finished save.
            ::close(done[0]);
            for (int i = 0;; ++i) {
                if (!SaveSystemsToFile(path.c_str(), i % 2 ? a : b)) ::_exit(3);
                if (::write(done[1], "s", 1) != 1) ::_exit(4);
            }
        }
        ::close(done[1]);
        // The kill falls after zero, one or two finished saves, at a random
        // moment of the next one (or of the pause before it).
        char byte;
        for (int k = completed(rng); k > 0; --k)
            if (::read(done[0], &byte, 1) != 1) break;
        ::usleep(static_cast<useconds_t>(delay(rng)));
        ::kill(pid, SIGKILL);
        ::close(done[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the saving child failed on its own";
        ++trials;

        const std::string now = ReadBytes(path);
        if (now == bytesA) {
            ++wholeA;
        } else if (now == bytesB) {
            ++wholeB;
        } else {
            ADD_FAILURE() << "trial " << trials << ": the file is neither version (" << now.size() << " bytes, versions "
                          << bytesA.size() << " and " << bytesB.size() << ")";
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
    std::printf("[ kill-during-save ] %d trials (one save %.1f ms): %d whole A, %d whole B, 0 mixed or cut; %d "
                "temporary files left by killed saves\n",
                trials, saveMicros / 1000.0, wholeA, wholeB, leftovers);
    RecordProperty("trials", trials);

    // The same kills against a plain rewrite in place catch it cutting the
    // file, so the check above can tell.
    int torn = 0;
    for (int t = 0; t < 20 && torn == 0; ++t) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int i = 0;; ++i) {
                const std::string& bytes = i % 2 ? bytesA : bytesB;
                FILE* f = std::fopen(path.c_str(), "wb");
                if (!f) ::_exit(3);
                std::fwrite(bytes.data(), 1, bytes.size(), f);
                std::fclose(f);
            }
        }
        ::usleep(static_cast<useconds_t>(5000 + delay(rng) / 4));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        const std::string now = ReadBytes(path);
        torn += now != bytesA && now != bytesB;
    }
    EXPECT_GT(torn, 0);
    EXPECT_GE(trials, 20);
    // The kills hit both before and after completed saves.
    EXPECT_GT(wholeA, 0);
    EXPECT_GT(wholeB, 0);
}

TEST(SaveFailures, FullDiskAndReadOnlyDiskReportAndKeepTheOldFile)
{
    TempDir dir;
    CSystemList small, big;
    FillList(small, "Vecchio", 3, 2);
    FillList(big, "Nuovo", 2000, 4);  // far more than the disk holds
    const std::string oldBytes = SavedBytes(small);

    // A disk of 64 KiB of our own: a private tmpfs in a mount namespace of a child.
    ChildResult r = RunInChild([&]() -> std::pair<int, std::string> {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", dir.Path().c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0)
            return {77, "no mount rights"};
        const std::string path = dir / "Quorvane.ini";
        if (!SaveSystemsToFile(path.c_str(), small)) return {1, "the small save failed"};
        std::string out = SaveError(big, path) + "\n";
        out += (ReadBytes(path) == oldBytes ? "intact" : "changed") + std::string("\n");
        out += std::to_string(dir.Entries().size()) + "\n";  // no temporary file left
        if (::mount(nullptr, dir.Path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return {1, "remount failed"};
        out += SaveError(small, path) + "\n";
        out += (ReadBytes(path) == oldBytes ? "intact" : "changed");
        return {0, out};
    });
    if (r.status == 77) GTEST_SKIP() << "no rights to mount a small file system here";
    ASSERT_EQ(r.status, 0) << r.text;
    const std::string path = dir / "Quorvane.ini";
    EXPECT_EQ(r.text, Expected(path, "spazio su disco esaurito") + "\nintact\n1\n" +
                          Expected(path, "il disco è in sola lettura") + "\nintact");
}

TEST(SaveFailures, ReadOnlyFileAndFolderForAnOrdinaryUser)
{
    TempDir dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
    CSystemList list, other;
    FillList(list, "Vecchio", 2, 2);
    FillList(other, "Nuovo", 2, 2);
    const std::string path = dir / "Quorvane.ini";
    ASSERT_TRUE(SaveSystemsToFile(path.c_str(), list));
    const std::string oldBytes = ReadBytes(path);

    // Permissions do not stop root: the saves run in a child as "nobody".
    auto asUser = [&](const std::function<std::string()>& work) {
        return RunInChild([&]() -> std::pair<int, std::string> {
            if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                return {77, "cannot drop root rights"};
            return {0, work()};
        });
    };

    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ChildResult file = asUser([&] { return SaveError(other, path); });
    if (file.status == 77) GTEST_SKIP() << file.text;
    EXPECT_EQ(file.text, Expected(path, "accesso negato"));
    EXPECT_EQ(ReadBytes(path), oldBytes);

    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    ChildResult folder = asUser([&] { return SaveError(other, path); });
    EXPECT_EQ(folder.text, Expected(path, "accesso negato"));
    EXPECT_EQ(ReadBytes(path), oldBytes);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Quorvane.ini"});

    // A folder that is a file cannot hold anything, whoever asks.
    WriteBytes(dir / "cartella", "non una cartella");
    EXPECT_EQ(SaveError(other, dir / "cartella/Quorvane.ini"),
              "Impossibile salvare il file \"" + (dir / "cartella/Quorvane.ini") + "\": errore di sistema 20 (" +
                  std::strerror(ENOTDIR) + ").");
    EXPECT_EQ(ReadBytes(dir / "cartella"), "non una cartella");
}

TEST(SaveFailures, MainWindowReportsAFailedSaveAndKeepsTheChangedList)
{
    TempDir dir;
    WorkingDir cwd(dir.Path());
    CSystemList three;
    FillList(three, "Sistema ", 3, 30);
    ASSERT_TRUE(SaveSystemsToFile("Quorvane.ini", three));
    const std::string oldBytes = ReadBytes("Quorvane.ini");
    ASSERT_GT(oldBytes.size(), 6000u);

    std::vector<std::string> boxes;
    QvSetMessageBoxHook([&](const CString& text, UINT) {
        boxes.push_back(text.str());
        return IDYES;
    });
    CMainDlg dlg;
    QvSetDialogOpenedHook([&](CDialog& d) {
        if (d.GetTemplateId() != IDD_QUORVANE_DIALOG) return;
        // No file may grow past 2 KB: the rewrite after the deletion fails.
        struct rlimit old;
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
        struct rlimit tiny = old;
        tiny.rlim_cur = 2048;
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
        dlg.OnDeleteSystem();
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(dlg.m_cbSystems.GetCount(), 2);
        d.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    QvSetDialogOpenedHook(nullptr);
    QvSetMessageBoxHook(nullptr);

    EXPECT_EQ(boxes, (std::vector<std::string>{"Eliminare la configurazione selezionata?",
                                               "Impossibile salvare il file \"Quorvane.ini\": file troppo grande."}));
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
    const std::string path = dir.Path() + "/Quorvane.ini";
    const std::string old = dir.Path() + "/.Quorvane.ini.a1B2c3", young = dir.Path() + "/.Quorvane.ini.d4E5f6",
                      other = dir.Path() + "/.Altro.ini.g7H8i9";
    for (const std::string& p : {old, young, other}) WriteBytes(p, "half a save");
    const timeval hourAgo[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimes(old.c_str(), hourAgo), 0);
    ASSERT_EQ(::utimes(other.c_str(), hourAgo), 0);

    CSystemList list;
    FillList(list, "S", 2, 2);
    ASSERT_TRUE(SaveSystemsToFile(path.c_str(), list));
    EXPECT_EQ(ReadBytes(path), SavedBytes(list));
    // Only the old leftover of this very file goes; one that another save may
    // still be writing, and those of other files, stay.
    EXPECT_NE(::access(old.c_str(), F_OK), 0);
    EXPECT_EQ(::access(young.c_str(), F_OK), 0);
    EXPECT_EQ(::access(other.c_str(), F_OK), 0);
}
