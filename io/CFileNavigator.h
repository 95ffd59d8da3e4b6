#pragma once

#include <string>

#include "io/CIONavigator.h"

// Navigation of the file system through the process's current directory, so every
// chooser and every relative file name share it. Entries come in the order the
// system lists them, "." and ".." included. On Windows the drive roots that
// GetLogicalDrives reports (C:\, D:\ ...) follow the directories, and paths are
// joined with a backslash. Linux has no drive letters: "/" is the one root offered,
// and the separator.
class CFileNavigator : public CIONavigator {
public:
#ifdef _WIN32
    static constexpr char Separator = '\\';
#else
    static constexpr char Separator = '/';
    static constexpr const char* Root = "/";
#endif

    explicit CFileNavigator(CApplication* app);
    ~CFileNavigator() override;

    CList* ListDirectories() override;
    CList* ListFiles() override;
    void ChangeDirectory(const char* path) override;
    void ChangeDirectory(CString* path) override;
    CString* GetCurrentPath() override;

    // What a system name (UTF-8, relative to the current directory or absolute) names:
    // links count as what they point to; a device or a pipe is another entry.
    enum Entry { NoEntry, FileEntry, FolderEntry, OtherEntry };
    static Entry EntryAt(const char* path);

private:
    void Append(CList* list, const char* text);

    // The system's part, written once per system.
    // Appends the entries of "." that are directories, or those that are not; nothing
    // when the directory cannot be read.
    void ListEntries(CList* list, bool directories);
    // Appends the roots offered after the directories.
    void ListRoots(CList* list);
    // The whole current path; empty when the system cannot tell it.
    static std::string CurrentFolder();
};
