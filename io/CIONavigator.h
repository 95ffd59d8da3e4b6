#pragma once

#include "core/CComponent.h"

class CList;
class CString;

// Moving through a hierarchy of directories: lists the current directory's entries,
// changes it, reports it. This base navigates nothing; CFileNavigator works on the
// file system.
class CIONavigator : public CComponent {
public:
    explicit CIONavigator(CApplication* app);
    ~CIONavigator() override;

    // New lists of CString (count 0), or none.
    virtual CList* ListDirectories();
    virtual CList* ListFiles();
    virtual void ChangeDirectory(const char* path);
    virtual void ChangeDirectory(CString* path);
    // A new CString (count 0), or none.
    virtual CString* GetCurrentPath();
};
