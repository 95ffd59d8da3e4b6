#include "io/CLineColumn.h"

#include <cstring>

#include "core/CList.h"
#include "core/CString.h"

CLineColumn::CLineColumn(CApplication* app) : CComponent(app)
{
    className = "CLineColumn";
    MakeEmpty();
    created = 1;
}

CLineColumn::~CLineColumn()
{
    LeaveRegistry();
    if (created)
        lines.Clear();
}

int CLineColumn::Destroy()
{
    lines.Clear();
    created = 0;
    return 1;
}

uint32_t CLineColumn::LineCount()
{
    CList* list = GetLines();
    return list ? list->GetCount() : 0;
}

CString* CLineColumn::LineAt(uint32_t i)
{
    CList* list = GetLines();
    return list ? static_cast<CString*>(list->GetAt(i)) : nullptr;
}

void CLineColumn::AddLine(const char* text, uint32_t size)
{
    auto line = new CString(application);
    Variable hold(line);
    line->SetText(text, size);
    if (CList* list = GetLines())
        list->Add(line);
}

void CLineColumn::AddLine(const char* text) { AddLine(text, static_cast<uint32_t>(std::strlen(text))); }

void CLineColumn::MakeEmpty()
{
    auto list = new CList(application);
    lines = list;
    list->Create();
    AddLine("", 0);
}

void CLineColumn::DeleteFirstLine()
{
    CList* list = GetLines();
    if (list && list->GetCount() >= 2)
        list->RemoveAt(0);
}

CList* CLineColumn::GetLines() const { return lines.As<CList>(); }
