#include "io/CFileNavigator.h"

#include "core/CList.h"
#include "core/CString.h"
#include "core/Variable.h"
#include "io/PathText.h"

CFileNavigator::CFileNavigator(CApplication* app) : CIONavigator(app) { className = "CFileNavigator"; }

CFileNavigator::~CFileNavigator() { LeaveRegistry(); }

CList* CFileNavigator::ListDirectories()
{
    auto list = new CList(application);
    Variable hold(list);
    list->Create();
    ListEntries(list, true);
    ListRoots(list);
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

void CFileNavigator::ChangeDirectory(CString* path)
{
    Variable hold;
    hold = path;
    if (const char* text = PathText(path))
        ChangeDirectory(text);
}

CString* CFileNavigator::GetCurrentPath()
{
    auto path = new CString(application);
    Variable hold(path);
    std::string folder = CurrentFolder();
    path->SetText(folder.data(), uint32_t(folder.size()));
    path->Protect();
    return path;
}

void CFileNavigator::Append(CList* list, const char* text)
{
    auto item = new CString(application);
    Variable hold(item);
    item->SetText(text);
    list->Add(item);
}
