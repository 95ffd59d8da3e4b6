#pragma once

#include "io/CIONavigator.h"

// Navigation of the file system through the process's current directory, so every
// chooser and every relative file name share it. Entries come in the order the
// system lists them, "." and ".." included. There are no drive letters: "/" is the
// one root offered after the directories.
class CFileNavigator : public CIONavigator {
public:
    static constexpr const char* Root = "/";

    explicit CFileNavigator(CApplication* app);
    ~CFileNavigator() override;

    CList* ListDirectories() override;
    CList* ListFiles() override;
    void ChangeDirectory(const char* path) override;
    void ChangeDirectory(CString* path) override;
    CString* GetCurrentPath() override;

private:
    void ListEntries(CList* list, bool directories);
    void Append(CList* list, const char* text);
};
