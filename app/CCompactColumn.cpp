#include "app/CCompactColumn.h"

#include "core/CList.h"
#include "core/CString.h"

CCompactColumn::CCompactColumn(CApplication* app) : application(app), scratch(new CString(app))
{
    MakeEmpty();
}

uint32_t CCompactColumn::LineCount() { return static_cast<uint32_t>(ends.size() - first); }

CString* CCompactColumn::LineAt(uint32_t i)
{
    if (i >= LineCount())
        return nullptr;
    uint32_t size;
    const char* line = LineText(i, &size);
    auto* s = scratch.As<CString>();
    s->SetText(line, size);
    return s;
}

void CCompactColumn::AddLine(const char* line, uint32_t size)
{
    text.append(line, size);
    ends.push_back(text.size());
}

void CCompactColumn::MakeEmpty()
{
    text.clear();
    ends.assign(1, 0);
    first = 0;
}

void CCompactColumn::DeleteFirstLine()
{
    if (LineCount() >= 2)
        first++;
}

const char* CCompactColumn::LineText(uint32_t i, uint32_t* size) const
{
    size_t line = first + i;
    uint64_t begin = line == 0 ? 0 : ends[line - 1];
    *size = static_cast<uint32_t>(ends[line] - begin);
    return text.data() + begin;
}

CList* CCompactColumn::MakeLineList(uint32_t count)
{
    auto* list = new CList(application);
    Variable hold(list);
    list->Create();
    for (uint32_t i = 0; i < LineCount() && i < count; i++) {
        uint32_t size;
        const char* line = LineText(i, &size);
        auto* s = new CString(application);
        s->SetText(line, size);
        list->Add(s);
    }
    list->Protect();
    return list;
}
