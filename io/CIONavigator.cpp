#include "io/CIONavigator.h"

#include "core/CString.h"
#include "core/Variable.h"

CIONavigator::CIONavigator(CApplication* app) : CComponent(app) { className = "CIONavigator"; }

CIONavigator::~CIONavigator() { LeaveRegistry(); }

CList* CIONavigator::ListDirectories() { return nullptr; }

CList* CIONavigator::ListFiles() { return nullptr; }

void CIONavigator::ChangeDirectory(const char*) {}

void CIONavigator::ChangeDirectory(CString* path)
{
    Variable hold;
    hold = path;
    if (path)
        ChangeDirectory(path->CStr());
}

CString* CIONavigator::GetCurrentPath() { return nullptr; }
