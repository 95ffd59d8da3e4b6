#include "io/CReplacingFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr int TemporaryNameAttempts = 100;

// The file that is replaced: a link is followed, so the bytes land where it points and
// the link stays a link.
std::string TargetOf(const char* path)
{
    struct stat info {};
    if (lstat(path, &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* resolved = realpath(path, nullptr)) {
            std::string target = resolved;
            std::free(resolved);
            return target;
        }
    }
    return path;
}

std::string DirectoryOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The replaced file's permissions carry over to the new one.
void KeepMode(const std::string& target, const std::string& temporary)
{
    struct stat info {};
    if (stat(target.c_str(), &info) == 0)
        chmod(temporary.c_str(), info.st_mode & 07777);
}

void SyncDirectory(const std::string& target)
{
    int fd = open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}
}  // namespace

CReplacingFile::CReplacingFile(CApplication* app) : CFile(app) { className = "CReplacingFile"; }

CReplacingFile::~CReplacingFile()
{
    LeaveRegistry();
    Abandon();
}

int CReplacingFile::Begin(const char* path)
{
    Abandon();
    if (!path || !*path)
        return 0;
    struct stat info {};
    bool exists = stat(path, &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return 0;
    }
    if (exists && !S_ISREG(info.st_mode)) {
        target = path;
        return OpenWrite(path);
    }
    // A file the user may not write stays as it is, though its folder would let a
    // rename replace it.
    if (exists && access(path, W_OK) != 0)
        return 0;
    target = TargetOf(path);
    return BeginBeside();
}

int CReplacingFile::Finish()
{
    bool written = Commit() == 1;
    if (temporary.empty())
        return written ? 1 : 0;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        Abandon();
        return 0;
    }
    temporary.clear();
    SyncDirectory(target);
    return 1;
}

// Keeps errno: the caller still wants the reason of the failure that led here.
void CReplacingFile::Abandon()
{
    int reason = errno;
    Close();
    if (!temporary.empty())
        unlink(temporary.c_str());
    temporary.clear();
    errno = reason;
}

// Opens a new file beside the target, in the same file system so the final rename is
// atomic; the leading dot marks it as nobody's document.
int CReplacingFile::BeginBeside()
{
    std::string directory = DirectoryOf(target);
    std::string base = target.substr(target.rfind('/') == std::string::npos ? 0 : target.rfind('/') + 1);
    base.resize(std::min<size_t>(base.size(), 200));  // room for the suffix within a name's limit
    RemoveLeftovers(directory, base);
    auto seed = static_cast<unsigned long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < TemporaryNameAttempts; attempt++) {
        std::string name = directory + "/" +
                           TemporaryName(base, static_cast<unsigned long>(getpid()),
                                         (seed + attempt * 7919UL) % 1000000UL);
        if (OpenNew(name.c_str())) {
            temporary = name;
            KeepMode(target, temporary);
            return 1;
        }
        if (errno != EEXIST)
            return 0;
    }
    return 0;
}

// A process that is still running may be saving the same target right now: its file
// stays. Ours cannot be: a save runs to its end before the next begins.
void CReplacingFile::RemoveLeftovers(const std::string& folder, const std::string& base)
{
    DIR* directory = opendir(folder.c_str());
    if (!directory)
        return;
    int reason = errno;
    while (const dirent* entry = readdir(directory)) {
        std::string target;
        unsigned long process = 0;
        if (!IsTemporaryName(entry->d_name, &target, &process) || target != base)
            continue;
        bool running = process != static_cast<unsigned long>(getpid()) && process <= INT32_MAX &&
                       (kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM);
        if (!running)
            unlinkat(dirfd(directory), entry->d_name, 0);
    }
    closedir(directory);
    errno = reason;
}
