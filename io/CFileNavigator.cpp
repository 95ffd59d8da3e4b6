#include "io/CFileNavigator.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "core/CList.h"
#include "core/CString.h"
#include "core/Variable.h"
#include "io/PathText.h"

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

CFileNavigator::CFileNavigator(CApplication* app) : CIONavigator(app) { className = "CFileNavigator"; }

CFileNavigator::~CFileNavigator() { LeaveRegistry(); }

CList* CFileNavigator::ListDirectories()
{
    auto list = new CList(application);
    Variable hold(list);
    list->Create();
    ListEntries(list, true);
    Append(list, Root);
    list->Protect();
    return list;
}

CList* CFileNavigator::ListFiles()
{
    auto list = new CList(application);
    Variable hold(list);
    list->Create();
    ListEntries(list, false);
    list->Protect();
    return list;
}

void CFileNavigator::ChangeDirectory(const char* path)
{
    if (path)
        (void)chdir(path);  // a directory that cannot be entered leaves things as they are
}

void CFileNavigator::ChangeDirectory(CString* path)
{
    Variable hold;
    hold = path;
    if (const char* text = PathText(path))
        ChangeDirectory(text);
}

// The whole path, however long: a path cut at some buffer size would name another place.
CString* CFileNavigator::GetCurrentPath()
{
    auto path = new CString(application);
    Variable hold(path);
    char local[512];
    if (getcwd(local, sizeof local)) {
        path->SetText(local);
    } else if (char* whole = getcwd(nullptr, 0)) {
        path->SetText(whole);
        std::free(whole);
    } else {
        path->SetText("");
    }
    path->Protect();
    return path;
}

// Appends the entries of "." that are directories, or those that are not; nothing
// when the directory cannot be read.
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

void CFileNavigator::Append(CList* list, const char* text)
{
    auto item = new CString(application);
    Variable hold(item);
    item->SetText(text);
    list->Add(item);
}
