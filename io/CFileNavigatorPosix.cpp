// The parts of CFileNavigator that ask the system: POSIX.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "io/CFileNavigator.h"

namespace {
// Links count as what they point to: a link to a directory can be entered.
bool IsDirectory(DIR* directory, const dirent* entry)
{
    if (entry->d_type == DT_DIR)
        return true;
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK)
        return false;
    struct stat info {};
    return fstatat(dirfd(directory), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}
}  // namespace

void CFileNavigator::ChangeDirectory(const char* path)
{
    if (path)
        (void)chdir(path);  // a directory that cannot be entered leaves things as they are
}

CFileNavigator::Entry CFileNavigator::EntryAt(const char* path)
{
    struct stat info {};
    if (!path || !*path || stat(path, &info) != 0)
        return NoEntry;
    return S_ISDIR(info.st_mode) ? FolderEntry : S_ISREG(info.st_mode) ? FileEntry : OtherEntry;
}

void CFileNavigator::ListEntries(CList* list, bool directories)
{
    DIR* directory = opendir(".");
    if (!directory)
        return;
    while (const dirent* entry = readdir(directory))
        if (IsDirectory(directory, entry) == directories)
            Append(list, entry->d_name);
    closedir(directory);
}

void CFileNavigator::ListRoots(CList* list) { Append(list, Root); }

// The whole path, however long: a path cut at some buffer size would name another place.
std::string CFileNavigator::CurrentFolder()
{
    char local[512];
    if (getcwd(local, sizeof local))
        return local;
    std::string folder;
    if (char* whole = getcwd(nullptr, 0)) {
        folder = whole;
        std::free(whole);
    }
    return folder;
}
