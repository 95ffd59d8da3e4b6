// CFileNavigator on Windows: wide names at the system, UTF-8 in the program, and the
// drive roots of GetLogicalDrives after the directories.
#include <windows.h>
#undef GetClassName  // windows.h renames it; the framework's objects have a method of this name

#include <string>

#include "core/CList.h"
#include "core/CString.h"
#include "core/Variable.h"
#include "io/CFileNavigator.h"
#include "io/PathText.h"
#include "platform/FileNames.h"

CFileNavigator::CFileNavigator(CApplication* app) : CIONavigator(app) { className = "CFileNavigator"; }

CFileNavigator::~CFileNavigator() { LeaveRegistry(); }

CList* CFileNavigator::ListDirectories()
{
    auto list = new CList(application);
    Variable hold(list);
    list->Create();
    ListEntries(list, true);
    DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; i++) {
        if (drives & (DWORD(1) << i)) {
            char root[4] = {char('A' + i), ':', '\\', '\0'};
            Append(list, root);
        }
    }
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
    if (path && *path)
        SetCurrentDirectoryW(platform::WideFromUtf8(path).c_str());  // failure leaves things as they are
}

void CFileNavigator::ChangeDirectory(CString* path)
{
    Variable hold;
    hold = path;
    if (const char* text = PathText(path))
        ChangeDirectory(text);
}

// The whole path, however long: a path cut at some buffer size would name another
// place. A drive root keeps its backslash ("C:\"), other folders have none at the end.
CString* CFileNavigator::GetCurrentPath()
{
    auto path = new CString(application);
    Variable hold(path);
    std::wstring here(512, L'\0');
    DWORD length = GetCurrentDirectoryW(DWORD(here.size()), here.data());
    if (length >= here.size()) {
        here.resize(length);
        length = GetCurrentDirectoryW(DWORD(here.size()), here.data());
    }
    if (length == 0 || length >= here.size()) {
        path->SetText("");
    } else {
        here.resize(length);
        path->SetText(platform::Utf8FromWide(here).c_str());
    }
    path->Protect();
    return path;
}

// Appends the entries of "." that are directories, or those that are not; nothing
// when the directory cannot be read. A link to a folder carries the folder attribute.
void CFileNavigator::ListEntries(CList* list, bool directories)
{
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileExW(L".\\*", FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        bool directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (directory == directories)
            Append(list, platform::Utf8FromWide(entry.cFileName).c_str());
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

void CFileNavigator::Append(CList* list, const char* text)
{
    auto item = new CString(application);
    Variable hold(item);
    item->SetText(text);
    list->Add(item);
}
