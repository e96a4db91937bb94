// Replacing a file on a POSIX disk: a temporary beside it, synced, renamed
// over it, then the folder synced.
#include "platform/ReplaceFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string DirectoryOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The file that a save must replace: the final target when the path is a
// symbolic link (even a dangling one), so that the link itself stays.
std::string FollowLinks(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1, '\0');
        ssize_t n = ::readlink(current.c_str(), &target[0], target.size());
        if (n < 0 || static_cast<size_t>(n) >= target.size()) return current;
        target.resize(static_cast<size_t>(n));
        current = (!target.empty() && target[0] == '/') ? target : DirectoryOf(current) + "/" + target;
    }
    return current;
}

mode_t CurrentUmask()
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// A save's temporary is named after its file, then this marker, then six
// characters of mkstemp: a name no user gives a file, so that only the
// program's own leftovers are ever removed.
const char kTempMarker[] = ".~salvataggio~";

// A save that was killed half way leaves its temporary file behind. The next
// save removes those of its own file and its own user, once they are old
// enough that no other instance can still be writing them.
void RemoveStaleTemporaries(const std::string& directory, const std::string& prefix, const std::string& current)
{
    const time_t cutoff = std::time(nullptr) - 10 * 60;
    DIR* dir = ::opendir(directory.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string path = directory + "/" + name;
        struct stat st;
        if (path != current && ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            st.st_mtime < cutoff)
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

// Writes the content into the file, created or cut to zero length, and puts
// it on the disk. Gives back 0 or the errno of the first failure.
int WriteContent(const char* pszPath, const QvContentWriter& write)
{
    CStdioFile file(pszPath, CStdioFile::modeCreate | CStdioFile::modeWrite);
    if (!file.IsOpen()) return file.GetError() ? file.GetError() : EIO;
    write(file);
    file.Flush(true);
    file.Close();
    return file.GetError();
}
}  // namespace

BOOL QvReplaceFile(const char* pszPath, const QvContentWriter& write, CString* pReason)
{
    auto failBecause = [&](const CString& reason) {
        if (pReason) *pReason = reason;
        return FALSE;
    };
    auto fail = [&](int nErrno) { return failBecause(QvFileErrorText(nErrno ? nErrno : EIO)); };

    const std::string target = FollowLinks(pszPath ? pszPath : "");
    const std::string directory = DirectoryOf(target);

    // The new file gets the old one's permissions, or those a new file would get.
    mode_t mode = 0666 & ~CurrentUmask();
    struct stat st;
    bool exists = false;
    if (::stat(target.c_str(), &st) == 0) {
        exists = true;
        if (S_ISDIR(st.st_mode)) return fail(EISDIR);
        // A device or a FIFO is neither written to nor replaced by a text file.
        if (!S_ISREG(st.st_mode)) return failBecause("il nome non indica un file ordinario");
        // A file the user made read-only is not replaced behind their back.
        if (::access(target.c_str(), W_OK) != 0) return fail(errno);
        mode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
        return fail(errno);
    }
    // Where the file cannot be replaced as it is, it is rewritten in place, as
    // a shared file must be: without the crash safety of the replacement.
    auto rewriteInPlace = [&]() {
        const int err = WriteContent(target.c_str(), write);
        return err ? fail(err) : TRUE;
    };
    // A replacement would leave the file's other names (hard links) with the old content.
    if (exists && st.st_nlink > 1) return rewriteInPlace();

    size_t slash = target.rfind('/');
    const std::string prefix = "." + (slash == std::string::npos ? target : target.substr(slash + 1)) + kTempMarker;
    std::string temp = directory + "/" + prefix + "XXXXXX";
    int fd = ::mkstemp(&temp[0]);
    if (fd < 0) {
        // A folder that takes no new file, though the file itself may be writable.
        if (errno == EACCES || errno == EPERM) return rewriteInPlace();
        return fail(errno);
    }
    // Keep the old owner and group (root may); where that is not allowed, a
    // replacement would take the file from its owner.
    if (exists && ::fchown(fd, st.st_uid, st.st_gid) != 0) {
        ::close(fd);
        ::unlink(temp.c_str());
        return rewriteInPlace();
    }
    if (::fchmod(fd, mode) != 0) {
        int err = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return fail(err);
    }
    ::close(fd);

    int err = WriteContent(temp.c_str(), write);
    if (err == 0 && ::rename(temp.c_str(), target.c_str()) != 0) err = errno ? errno : EIO;
    if (err != 0) {
        ::unlink(temp.c_str());
        return fail(err);
    }

    RemoveStaleTemporaries(directory, prefix, temp);

    // Make the rename itself durable. On a disk a failure here endangers
    // neither content: the file is the old one or the new one, each whole.
    int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return TRUE;
}
