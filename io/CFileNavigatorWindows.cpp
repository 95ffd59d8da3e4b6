// The parts of CFileNavigator that ask the system: Windows, with wide names at the
// system and UTF-8 in the program.
#include <windows.h>
#undef GetClassName  // windows.h renames it; the framework's objects have a method of this name

#include "io/CFileNavigator.h"
#include "platform/FileNames.h"

void CFileNavigator::ChangeDirectory(const char* path)
{
    if (path && *path)
        SetCurrentDirectoryW(platform::WideFromUtf8(path).c_str());  // failure leaves things as they are
}

CFileNavigator::Entry CFileNavigator::EntryAt(const char* path)
{
    if (!path || !*path)
        return NoEntry;
    DWORD attributes = GetFileAttributesW(platform::WideFromUtf8(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return NoEntry;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FolderEntry : FileEntry;
}

// A link to a folder carries the folder attribute.
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

// The drive roots GetLogicalDrives reports.
void CFileNavigator::ListRoots(CList* list)
{
    DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; i++) {
        if (drives & (DWORD(1) << i)) {
            char root[4] = {char('A' + i), ':', '\\', '\0'};
            Append(list, root);
        }
    }
}

// The whole path, however long: a path cut at some buffer size would name another
// place. A drive root keeps its backslash ("C:\"), other folders have none at the end.
std::string CFileNavigator::CurrentFolder()
{
    std::wstring here(512, L'\0');
    DWORD length = GetCurrentDirectoryW(DWORD(here.size()), here.data());
    if (length >= here.size()) {
        here.resize(length);
        length = GetCurrentDirectoryW(DWORD(here.size()), here.data());
    }
    if (length == 0 || length >= here.size())
        return {};
    here.resize(length);
    return platform::Utf8FromWide(here);
}
